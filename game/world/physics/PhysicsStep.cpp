// One time step of one object: integration, then up to three sweeps with the contact
// response, waking the neighbours and falling asleep.

#include "game/world/physics/IntegratorRK4.h"
#include "game/world/physics/PhysicsSystem.h"

#include <cmath>

namespace zor {
namespace {

constexpr std::int32_t MaxSweepsPerStep = 3;
// Moving less than this from rest wakes nobody.
constexpr float WakeDistance = 0.01f;
// An object within this of its rest position on both axes counts as resting.
constexpr float RestTolerance = 0.1f;
constexpr float SleepAfterSeconds = 1.0f;
// Runge-Kutta velocities this small become 0, so resting objects can fall asleep.
constexpr float VelocitySnap = 0.00001f;

float snapped(float velocity) { return std::fabs(velocity) <= VelocitySnap ? 0.0f : velocity; }

// Advances the velocity and returns the new position.
fpVector2 integrate(PhysicalObject& object, const fpVector2& old, float dt) {
    if (object.highQualityIntegration) {
        IntegratorRK4::State x{old.x, object.velocity.x};
        IntegratorRK4::State y{old.y, object.velocity.y};
        PhysicalObjectIntegratorX(object).step(x, dt);
        PhysicalObjectIntegratorY(object).step(y, dt);
        object.velocity = {snapped(x.velocity), snapped(y.velocity)};
        return {x.position, y.position};
    }
    // Euler with the updated velocity; no air resistance.
    object.velocity += (object.acceleration + object.gravity) * dt;
    return old + object.velocity * dt;
}

// The velocity, impulse and remaining move after a contact with the normal.
void respondToContact(PhysicalObject& object, const fpVector2& normal, bool respond, fpVector2& delta) {
    if (normal.isZero()) {
        delta = fpVector2();
        if (respond) object.velocity = fpVector2();
        return;
    }
    const fpVector2 tangent(-normal.y, normal.x);
    // Floors (ny < -0.5) and walls rub; ceilings do not.
    if (respond && normal.y < 0.5f) {
        const float friction = normal.y < -0.5f ? object.groundFriction : object.wallFriction;
        object.velocity += tangent * (-object.velocity.dot(tangent) * friction);
    }
    if (object.bounciness > 0.0f) {
        if (respond)
            object.velocity = (object.velocity - normal * (2.0f * object.velocity.dot(normal))) * object.bounciness;
        delta = fpVector2();
        return;
    }
    if (respond) {
        if (object.velocity.dot(normal) < 0.0f) object.velocity = tangent * object.velocity.dot(tangent);
        if (object.impulse.dot(normal) < 0.0f) object.impulse = tangent * object.impulse.dot(tangent);
    }
    // The whole move, projected on the surface, is tried again from the stopping point.
    if (delta.dot(normal) < 0.0f) delta = tangent * delta.dot(tangent);
}

} // namespace

void PhysicsSystem::stepObject(PhysicalObject& object, float dt, bool collide) {
    if (!(dt > 0.0f)) return;
    if (!object.awake) {
        ++m_sleepingCount;
        return;
    }
    ++m_awakeCount;

    const bool atRest = object.velocity.isZero();
    object.velocity += object.impulse;
    object.impulse = fpVector2();
    const fpVector2 old = object.position();
    const fpRect startBounds = object.getBounds();
    fpVector2 next = integrate(object, old, dt);
    if (collide) resolveMove(object, old, next);

    if (atRest && object.wakeMask != 0 &&
        (std::fabs(next.x - old.x) >= WakeDistance || std::fabs(next.y - old.y) >= WakeDistance))
        wakeRect({startBounds.x - 1.0f, startBounds.y - 1.0f, startBounds.w + 2.0f, startBounds.h + 2.0f},
                 object.wakeMask);

    if (object.canSleep && nearWithin(next, object.restPosition, RestTolerance)) {
        object.sleepTimer += dt;
        if (object.sleepTimer > SleepAfterSeconds) {
            object.sleepTimer = 0.0f;
            object.awake = false;
        }
    } else {
        object.sleepTimer = 0.0f;
        object.restPosition = next;
    }
    object.setPosition(next);
}

// The first sweep always runs, also for no move, so that contacts at the start (sensors
// included) are reported every step; further ones only while something of the move is left.
void PhysicsSystem::resolveMove(PhysicalObject& object, const fpVector2& old, fpVector2& reached) {
    fpVector2 delta = reached - old;
    fpVector2 current = old;
    bool respond = true;
    SweepCounters counters;
    for (std::int32_t sweepIndex = 0; sweepIndex < MaxSweepsPerStep; ++sweepIndex) {
        if (sweepIndex > 0) {
            if (delta.isZero()) break;
            // Each sweep starts where the previous one stopped.
            object.setPosition(current);
        }
        fpVector2 normal;
        if (sweep(object, current + delta, current, normal, nullptr, false, respond, counters)) break;
        respondToContact(object, normal, respond, delta);
    }
    reached = current;
}

} // namespace zor
