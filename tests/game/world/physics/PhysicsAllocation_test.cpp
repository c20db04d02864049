// Stepping, sweeping and querying allocate nothing once the reusable lists have grown: this
// test program counts every operator new while a scene replays a run whose lists (the
// cells', the contacts' and the scratch lists) have grown.

#include "tests/game/world/physics/PhysicsFixtures.h"

#include "tests/support/allocations/CountingAllocator.h"

#include <gtest/gtest.h>


namespace zor::test {
namespace {

TEST(PhysicsAllocationTest, AWarmSceneAllocatesNothing) {
    std::vector<std::string> rows(10, "#..................#");
    rows[9] = "####################";
    rows[6] = "#....####..........#";
    PhysicsLevel level(tileMapFromRows(rows));
    const std::uint32_t mask = CollisionGroup::Tiles | CollisionGroup::Bounds | CollisionGroup::Items |
                               CollisionGroup::Trigger;
    for (int i = 0; i < 12; ++i) {
        PhysicalObject& box = level.addBox({float(60 + 50 * i), float(40 + 10 * (i % 4)), 20, 20},
                                           CollisionGroup::Items, mask);
        box.velocity = {float(30 * (i % 5) - 60), 0};
        box.bounciness = i % 3 == 0 ? 0.5f : 0.0f;
        box.highQualityIntegration = i % 2 == 0;
        box.canSleep = true;
        box.wakeMask = CollisionGroup::Items;
    }
    level.addBox({300, 200, 100, 40}, CollisionGroup::Trigger, 0, false, true);
    std::int32_t contacts = 0;
    level.physics.contactCallback = [&](PhysicalCollision& contact) {
        ++contacts;
        contact.passThrough = contact.otherBody->group == CollisionGroup::Items;
    };
    std::vector<PhysicalObject*> found;
    found.reserve(64);
    float distance = 0;
    const auto run = [&](int steps) {
        for (int step = 0; step < steps; ++step) {
            for (const auto& box : level.objects) {
                box->gravity = {0, 600};
                level.physics.stepObject(*box, 1.0f / 60.0f, true);
            }
            found.clear();
            level.physics.queryRect({100, 100, 400, 200}, CollisionGroup::Items | CollisionGroup::Tiles, found);
            level.physics.queryBodies({0, 0, 800, 400}, CollisionGroup::Items, found);
            level.physics.findNearestOverlap({200, 200, 100, 100}, CollisionGroup::Items);
            level.physics.testSegment({30, 30}, {1, 0}, 500, CollisionGroup::Items, nullptr, distance);
            level.physics.wakeRect({0, 0, 800, 400}, CollisionGroup::Items);
            level.physics.debugDraw({0, 0, 800, 400});
        }
    };
    struct Start {
        fpVector2 position;
        fpVector2 velocity;
    };
    std::vector<Start> starts;
    for (const auto& box : level.objects) starts.push_back({box->position(), box->velocity});
    run(300);
    for (std::size_t i = 0; i < starts.size(); ++i) {
        PhysicalObject& box = *level.objects[i];
        box.setPosition(starts[i].position);
        box.velocity = starts[i].velocity;
        box.impulse = fpVector2();
        box.awake = true;
        box.sleepTimer = 0;
    }
    countingAllocations = true;
    run(300);
    countingAllocations = false;
    EXPECT_GT(contacts, 0);
    EXPECT_EQ(countedAllocations.load(), 0);
}

} // namespace
} // namespace zor::test
