// Sweeps: moving an object's bodies against the bodies around them, contacts handed to the
// contact callback and resolved nearest first.

#include "game/world/physics/PhysicsSystem.h"
#include "game/world/physics/ShapePairTests.h"

namespace zor {
namespace {

constexpr std::int32_t MaxSweepPasses = 2;
// How far a stopped object stays off the surface it touched.
constexpr float ContactGap = 0.001f;

// Stable and allocation-free; the lists are short.
void sortByDistance(std::vector<PhysicalCollision>& contacts) {
    for (std::size_t i = 1; i < contacts.size(); ++i) {
        if (!(contacts[i].distance < contacts[i - 1].distance)) continue;
        PhysicalCollision moving = contacts[i];
        std::size_t j = i;
        for (; j > 0 && moving.distance < contacts[j - 1].distance; --j) contacts[j] = contacts[j - 1];
        contacts[j] = moving;
    }
}

} // namespace

void PhysicsSystem::callContactCallback(PhysicalCollision& contact) {
    struct DepthGuard {
        std::int32_t& depth;
        explicit DepthGuard(std::int32_t& d) : depth(d) { depth = 1; }
        ~DepthGuard() { depth = 0; }
    } guard(m_callbackDepth);
    contactCallback(contact);
}

bool PhysicsSystem::sweep(PhysicalObject& object, const fpVector2& target, fpVector2& outPosition,
                          fpVector2& outNormal, const PhysicalObject* ignored, bool suppressCallbacks, bool& respond,
                          SweepCounters& counters) {
    respond = true;
    if (!object.collidable) {
        outPosition = target;
        return true;
    }
    const SweepPath path(object, target);
    const fpVector2& start = path.start;
    const bool callbacks = !suppressCallbacks && m_callbackDepth == 0 && contactCallback;
    std::vector<PhysicalCollision>& contacts = m_contactLists[std::size_t(m_callbackDepth)];

    for (std::int32_t pass = 0; pass < MaxSweepPasses; ++pass) {
        collectContacts(object, path, ignored, callbacks, counters);
        sortByDistance(contacts);
        bool sweepAgain = false;
        // The first blocking contact at the start; its normal is reported once every
        // contact at the start has had its callback.
        const PhysicalCollision* touching = nullptr;
        for (std::size_t i = 0; i < contacts.size(); ++i) {
            PhysicalCollision& contact = contacts[i];
            if (callbacks) callContactCallback(contact);
            if (contact.sweepAgain) {
                sweepAgain = true;
                continue;
            }
            if (contact.keepVelocity) respond = false;
            if (contact.holdPosition) {
                outPosition = object.position();
                return true;
            }
            if (contact.distance == 0.0f) {
                if (!contact.passThrough && !touching) touching = &contact;
                const bool lastAtStart = i + 1 == contacts.size() || contacts[i + 1].distance > 0.0f;
                if (touching && lastAtStart) {
                    outNormal = touching->normal;
                    outPosition = start + touching->normal * ContactGap;
                    return false;
                }
            } else if (contact.distance > 0.0f && !contact.passThrough) {
                outNormal = contact.normal;
                outPosition = contact.position;
                return false;
            }
        }
        if (!sweepAgain) break;
    }
    outPosition = target;
    return true;
}

PhysicsSystem::SweepPath::SweepPath(const PhysicalObject& object, const fpVector2& targetPosition)
    : start(object.position()), target(targetPosition), move(target - start), direction(move.normalized()) {
    const fpRect bounds = object.getBounds();
    sweepBounds = fpRect::united(bounds, fpRect(bounds.x + move.x, bounds.y + move.y, bounds.w, bounds.h));
}

void PhysicsSystem::collectContacts(PhysicalObject& object, const SweepPath& path, const PhysicalObject* ignored,
                                    bool callbacks, SweepCounters& counters) {
    std::vector<PhysicalCollision>& contacts = m_contactLists[std::size_t(m_callbackDepth)];
    contacts.clear();

    for (const PhysicalBody& body : object.bodies()) {
        for (CellObject* found : findBodies(path.sweepBounds, body.mask)) {
            const auto& other = static_cast<const PhysicalBody&>(*found);
            const PhysicalObject* owner = other.owner;
            if (owner == &object || owner == ignored || !owner->collidable) continue;
            ++counters.tests;
            ShapeTest test;
            test.move = path.move;
            test.sweepBounds = path.sweepBounds;
            if (!testShapePair(*body.shape, *other.shape, test)) continue;
            ++counters.hits;

            PhysicalCollision contact;
            contact.body = &body;
            contact.otherBody = &other;
            contact.target = path.target;
            contact.position = path.start + path.direction * test.distance + test.normal * ContactGap;
            contact.normal = test.normal;
            contact.distance = test.distance;
            contact.depth = test.depth;
            if (body.sensor || other.sensor) {
                // Reported at once, once per pass, and never kept: sensors stop nothing.
                contact.sensor = true;
                if (callbacks) callContactCallback(contact);
                continue;
            }
            contacts.push_back(contact);
        }
    }
}

bool PhysicsSystem::moveObjectTo(PhysicalObject& object, const fpVector2& target, bool force,
                                 const PhysicalObject* ignored, bool suppressCallbacks) {
    fpVector2 reached;
    fpVector2 normal;
    bool respond = true;
    SweepCounters counters;
    if (!sweep(object, target, reached, normal, ignored, suppressCallbacks, respond, counters) && !force)
        return false;
    object.setPosition(reached);
    return true;
}

} // namespace zor
