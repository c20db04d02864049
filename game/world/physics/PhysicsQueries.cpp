// What lies in a region: bodies by bounds, shapes by pair test, the nearest overlap, the
// first entry of a ray; and waking a region.

#include "game/world/physics/PhysicsSystem.h"
#include "game/world/physics/ShapePairTests.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zor {
namespace {

const PhysicalBody& bodyOf(const CellObject* found) { return static_cast<const PhysicalBody&>(*found); }

// The ray's distance to where it enters the rectangle, x sides first. A zero direction
// component makes that axis' division infinite or undefined, and the comparisons then fail,
// so that axis gives no entry.
bool rayEntry(const fpVector2& origin, const fpVector2& direction, const fpRect& box, float& entry) {
    const float gapX = origin.x < box.x ? box.x - origin.x : (box.right() < origin.x ? box.right() - origin.x : 0.0f);
    const float tx = gapX / direction.x;
    if (tx >= 0.0f) {
        const float y = origin.y + tx * direction.y;
        if (y >= box.y && y <= box.bottom()) {
            entry = tx;
            return true;
        }
    }
    const float gapY = origin.y < box.y ? box.y - origin.y : (box.bottom() < origin.y ? box.bottom() - origin.y : 0.0f);
    const float ty = gapY / direction.y;
    if (ty < 0.0f) return false;
    const float x = origin.x + ty * direction.x;
    if (!(x >= box.x && x <= box.right())) return false;
    entry = ty;
    return true;
}

} // namespace

std::vector<CellObject*>& PhysicsSystem::findBodies(const fpRect& rect, std::uint32_t mask) {
    std::vector<CellObject*>& found = m_scratchLists[std::size_t(m_callbackDepth)];
    found.clear();
    m_cellSystem->query(found, rect, mask);
    return found;
}

bool PhysicsSystem::testBody(const AbstractShape& shape, const PhysicalBody& body) {
    ++m_testCount;
    if (!body.owner->collidable) return false;
    ShapeTest test;
    test.sweepBounds = shape.getBounds();
    return testShapePair(shape, *body.shape, test);
}

RectShape& PhysicsSystem::probeAt(const fpRect& rect) {
    m_probe->rect = rect;
    return *m_probe;
}

bool PhysicsSystem::queryBodies(const fpRect& rect, std::uint32_t mask, std::vector<PhysicalObject*>& out) {
    bool appended = false;
    for (const CellObject* found : findBodies(rect, mask)) {
        PhysicalObject* owner = bodyOf(found).owner;
        if (std::find(out.begin(), out.end(), owner) != out.end()) continue;
        out.push_back(owner);
        appended = true;
    }
    return appended;
}

bool PhysicsSystem::testShape(const AbstractShape& shape, std::uint32_t mask) {
    for (const CellObject* found : findBodies(shape.getBounds(), mask))
        if (testBody(shape, bodyOf(found))) return true;
    return false;
}

bool PhysicsSystem::testRect(const fpRect& rect, std::uint32_t mask) { return testShape(probeAt(rect), mask); }

void PhysicsSystem::wakeRect(const fpRect& rect, std::uint32_t mask) {
    for (const CellObject* found : findBodies(probeAt(rect).getBounds(), mask)) {
        PhysicalObject& owner = *bodyOf(found).owner;
        owner.sleepTimer = 0.0f;
        owner.woken = true;
        owner.awake = true;
    }
}

PhysicalObject* PhysicsSystem::findNearestOverlap(const fpRect& rect, std::uint32_t mask) {
    const RectShape& probe = probeAt(rect);
    const fpVector2 centre(rect.x + rect.w / 2.0f, rect.y + rect.h / 2.0f);
    float best = std::numeric_limits<float>::max();
    PhysicalObject* nearest = nullptr;
    for (const CellObject* found : findBodies(probe.getBounds(), mask)) {
        const PhysicalBody& body = bodyOf(found);
        if (!testBody(probe, body)) continue;
        const float distance = (body.owner->position() - centre).length();
        if (distance < best) {
            best = distance;
            nearest = body.owner;
        }
    }
    return nearest;
}

bool PhysicsSystem::queryShape(const AbstractShape& shape, std::uint32_t mask, std::vector<PhysicalObject*>& out) {
    bool appended = false;
    for (const CellObject* found : findBodies(shape.getBounds(), mask)) {
        const PhysicalBody& body = bodyOf(found);
        if (!testBody(shape, body)) continue;
        out.push_back(body.owner);
        appended = true;
    }
    return appended;
}

bool PhysicsSystem::queryRect(const fpRect& rect, std::uint32_t mask, std::vector<PhysicalObject*>& out) {
    return queryShape(probeAt(rect), mask, out);
}

bool PhysicsSystem::testSegment(const fpVector2& origin, const fpVector2& direction, float maxDistance,
                                std::uint32_t mask, const PhysicalObject* ignored, float& outDistance) {
    const fpVector2 reach = direction * maxDistance;
    const fpRect searched(origin.x + std::min(reach.x, 0.0f), origin.y + std::min(reach.y, 0.0f), std::fabs(reach.x),
                          std::fabs(reach.y));
    outDistance = maxDistance;
    for (const CellObject* found : findBodies(searched, mask)) {
        const PhysicalBody& body = bodyOf(found);
        if (!body.owner->collidable || body.owner == ignored) continue;
        float entry = 0.0f;
        if (rayEntry(origin, direction, body.getBounds(), entry) && entry < outDistance) outDistance = entry;
    }
    return maxDistance > outDistance;
}

} // namespace zor
