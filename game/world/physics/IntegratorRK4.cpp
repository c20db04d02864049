#include "game/world/physics/IntegratorRK4.h"

#include "game/world/physics/PhysicalObject.h"

namespace zor {

void IntegratorRK4::step(State& state, float dt) const {
    // One sixth rounded to a float, multiplied rather than divided.
    constexpr float sixth = float(1.0 / 6.0);
    const float half = dt / 2.0f;
    const float p = state.position;
    const float v = state.velocity;
    const float a1 = acceleration({p, v});
    const float u2 = v + half * a1;
    const float a2 = acceleration({p + half * v, u2});
    const float u3 = v + half * a2;
    const float a3 = acceleration({p + half * u2, u3});
    const float u4 = v + dt * a3;
    const float a4 = acceleration({p + dt * u3, u4});
    state.position = p + dt * (v + 2.0f * u2 + 2.0f * u3 + u4) * sixth;
    state.velocity = v + dt * (a1 + 2.0f * a2 + 2.0f * a3 + a4) * sixth;
}

float PhysicalObjectIntegrator::resisted(float acceleration, float gravity, float velocity) const {
    const float side = velocity > 0.0f ? -1.0f : 1.0f;
    return acceleration + gravity + side * 0.5f * m_object.quadraticAirResistance * (velocity * velocity) -
           0.5f * m_object.linearAirResistance * velocity;
}

float PhysicalObjectIntegratorX::acceleration(const State& state) const {
    return resisted(object().acceleration.x, object().gravity.x, state.velocity);
}

float PhysicalObjectIntegratorY::acceleration(const State& state) const {
    return resisted(object().acceleration.y, object().gravity.y, state.velocity);
}

} // namespace zor
