#include "tests/game/world/physics/PhysicsFixtures.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace zor::test {
namespace {

constexpr std::uint32_t Items = CollisionGroup::Items;
constexpr std::uint32_t Rocks = CollisionGroup::Rocks;
constexpr std::uint32_t Tiles = CollisionGroup::Tiles;

// 800 x 400 pixels; one solid cell at column 10, row 5 (x 400 to 440, y 200 to 240).
class PhysicsQueriesTest : public ::testing::Test {
protected:
    PhysicsQueriesTest() : level(grid()) {}

    static std::shared_ptr<PersistentTileMap> grid() {
        std::vector<std::string> rows(10, std::string(20, '.'));
        rows[5][10] = '#';
        return tileMapFromRows(rows);
    }

    PhysicsLevel level;
    std::vector<PhysicalObject*> found;
};

TEST_F(PhysicsQueriesTest, QueryBodiesGoesByBoundsAndAddsEachObjectOnce) {
    PhysicalObject& rock = level.addBox({100, 100, 20, 20}, Rocks, 0);
    PhysicalObject& ghost = level.addBox({130, 100, 20, 20}, Rocks, 0);
    ghost.collidable = false;
    found.push_back(&rock);
    EXPECT_TRUE(level.physics.queryBodies({90, 90, 100, 40}, Rocks | Tiles, found));
    // Groups in ascending bit order (rocks before tiles); the tile map's bounds cover the
    // level, solid cell or not.
    EXPECT_EQ(found, (std::vector<PhysicalObject*>{&rock, &ghost, &level.tiles}));
    EXPECT_FALSE(level.physics.queryBodies({90, 90, 100, 40}, Rocks, found));
    EXPECT_FALSE(level.physics.queryBodies({90, 90, 100, 40}, 0, found));
    EXPECT_EQ(level.physics.testCount(), 0);  // no pair tests
}

TEST_F(PhysicsQueriesTest, QueryShapeReportsEveryTouchingBody) {
    PhysicalObject& twoBodies = level.addBox({100, 100, 20, 20}, Rocks, 0);
    twoBodies.addBody(makeBody(new RectShape({10, 10, 20, 20}, false), Rocks, 0));
    PhysicalObject& ghost = level.addBox({100, 100, 20, 20}, Rocks, 0);
    ghost.collidable = false;
    EXPECT_TRUE(level.physics.queryRect({105, 105, 10, 10}, Rocks | Tiles, found));
    EXPECT_EQ(found, (std::vector<PhysicalObject*>{&twoBodies, &twoBodies}));
    EXPECT_EQ(level.physics.testCount(), 4);  // counted before the collidable check

    // The tile map answers by its solid cells.
    found.clear();
    EXPECT_FALSE(level.physics.queryRect({300, 300, 10, 10}, Tiles, found));
    EXPECT_TRUE(level.physics.queryRect({430, 230, 20, 20}, Tiles, found));
    EXPECT_EQ(found, std::vector<PhysicalObject*>{&level.tiles});
    found.clear();
    EXPECT_FALSE(level.physics.queryRect({105, 105, 10, 10}, 0, found));
}

TEST_F(PhysicsQueriesTest, TestShapeAndTestRectStopAtTheFirstHit) {
    level.addBox({100, 100, 20, 20}, Rocks, 0);
    level.addBox({100, 100, 20, 20}, Rocks, 0);
    EXPECT_TRUE(level.physics.testRect({110, 110, 1, 1}, Rocks));
    EXPECT_EQ(level.physics.testCount(), 1);
    EXPECT_FALSE(level.physics.testRect({120, 110, 1, 1}, Rocks));  // touching edges only
    EXPECT_FALSE(level.physics.testRect({110, 110, 1, 1}, Items));
    EXPECT_TRUE(level.physics.testRect({439, 239, 1, 1}, Tiles));
    EXPECT_FALSE(level.physics.testRect({440, 240, 1, 1}, Tiles));

    // A diamond probe around the rocks' corner: its bounds overlap, its edges do not.
    const OBBShape diamond({20, 20}, {-20, 20}, {150, 90});
    EXPECT_FALSE(level.physics.testShape(diamond, Rocks));
    const OBBShape nearer({20, 20}, {-20, 20}, {125, 90});
    EXPECT_TRUE(level.physics.testShape(nearer, Rocks));
}

TEST_F(PhysicsQueriesTest, FindNearestOverlap) {
    PhysicalObject& left = level.addBox({90, 100, 10, 10}, Rocks, 0);
    PhysicalObject& right = level.addBox({110, 100, 10, 10}, Rocks, 0);
    PhysicalObject& ghost = level.addBox({100, 100, 10, 10}, Rocks, 0);
    ghost.collidable = false;
    // Distances to the positions (top-left corners): both 10 from (100, 100).
    EXPECT_EQ(level.physics.findNearestOverlap({80, 90, 40, 20}, Rocks), &left);
    EXPECT_EQ(level.physics.findNearestOverlap({84, 90, 40, 20}, Rocks), &right);
    EXPECT_EQ(level.physics.findNearestOverlap({300, 300, 10, 10}, Rocks), nullptr);
    EXPECT_EQ(level.physics.findNearestOverlap({80, 90, 40, 20}, 0), nullptr);
}

TEST_F(PhysicsQueriesTest, WakeRectWakesWhatItsBoundsReach) {
    PhysicalObject& sleeper = level.addBox({100, 100, 10, 10}, Rocks, 0);
    PhysicalObject& ghost = level.addBox({120, 100, 10, 10}, Rocks, 0);
    PhysicalObject& outside = level.addBox({200, 100, 10, 10}, Rocks, 0);
    for (PhysicalObject* object : {&sleeper, &ghost, &outside}) {
        object->awake = false;
        object->sleepTimer = 0.7f;
    }
    ghost.collidable = false;
    level.physics.wakeRect({95, 95, 40, 20}, Rocks);
    for (PhysicalObject* object : {&sleeper, &ghost}) {
        EXPECT_TRUE(object->awake);
        EXPECT_TRUE(object->woken);
        EXPECT_EQ(object->sleepTimer, 0.0f);
    }
    EXPECT_FALSE(outside.awake);
    EXPECT_FALSE(outside.woken);
    level.physics.wakeRect({195, 95, 40, 20}, 0);
    EXPECT_FALSE(outside.awake);
}

TEST_F(PhysicsQueriesTest, TestSegmentMeetsBounds) {
    PhysicalObject& shooter = level.addBox({100, 100, 20, 20}, Rocks, 0);
    level.addBox({200, 100, 20, 20}, Rocks, 0);
    level.addBox({20, 105, 20, 10}, Rocks, 0);
    PhysicalObject& ghost = level.addBox({150, 100, 20, 20}, Rocks, 0);
    ghost.collidable = false;
    struct Case {
        const char* label;
        fpVector2 origin;
        fpVector2 direction;
        float maxDistance;
        const PhysicalObject* ignored;
        bool hit;
        float distance;
    };
    const Case cases[] = {
        {"to the right, past the ghost", {110, 110}, {1, 0}, 200, &shooter, true, 90},
        {"starting inside the shooter", {110, 110}, {1, 0}, 200, nullptr, true, 0},
        {"to the left", {110, 110}, {-1, 0}, 200, &shooter, true, 70},
        {"out of reach", {110, 110}, {1, 0}, 80, &shooter, false, 80},
        {"up, nothing there", {110, 110}, {0, -1}, 200, &shooter, false, 200},
        {"down onto the shooter", {110, 50}, {0, 1}, 200, nullptr, true, 50},
        {"diagonal onto a corner", {180, 80}, {0.70710677f, 0.70710677f}, 100, nullptr, true, 28.284271f},
    };
    for (const Case& c : cases) {
        float distance = -1;
        EXPECT_EQ(level.physics.testSegment(c.origin, c.direction, c.maxDistance, Rocks, c.ignored, distance),
                  c.hit)
            << c.label;
        EXPECT_NEAR(distance, c.distance, 1e-4f) << c.label;
    }
    float distance = -1;
    EXPECT_FALSE(level.physics.testSegment({110, 110}, {1, 0}, 200, 0, nullptr, distance));
    EXPECT_EQ(distance, 200.0f);
    EXPECT_EQ(level.physics.testCount(), 0);  // bounds only, no pair tests
}

TEST_F(PhysicsQueriesTest, DebugDrawShowsAndRestartsTheCounters) {
    auto canvas = std::make_shared<RecordingCanvas>();
    level.physics.setDebugCanvas(canvas);
    PhysicalObject& box = level.addBox({100, 100, 20, 20}, Rocks, 0);
    PhysicalObject& sleeper = level.addBox({200, 100, 20, 20}, Rocks, 0);
    sleeper.awake = false;
    level.physics.stepObject(box, 0.1f, true);
    level.physics.stepObject(sleeper, 0.1f, true);
    level.physics.testRect({100, 100, 300, 300}, Rocks);

    level.physics.debugDraw({0, 0, 800, 400});
    EXPECT_TRUE(canvas->calls.empty());
    EXPECT_EQ(level.physics.awakeCount(), 0);
    EXPECT_EQ(level.physics.sleepingCount(), 0);
    EXPECT_EQ(level.physics.testCount(), 0);

    DebugFlag& physicsSwitch = physicsDebugSwitches().physics;
    physicsSwitch.store(true);
    level.physics.stepObject(box, 0.1f, true);
    level.physics.stepObject(box, 0.1f, true);
    level.physics.stepObject(sleeper, 0.1f, true);
    level.physics.testRect({100, 100, 300, 300}, Rocks);
    level.physics.debugDraw({0, 0, 800, 400});
    physicsSwitch.store(false);
    EXPECT_EQ(canvas->calls, (std::vector<std::string>{
                                 "message (10,80,1000,1000) Awake: 2 FF00FF00",
                                 "message (10,95,1000,1000) Sleeping: 1 FF00FF00",
                                 "message (10,110,1000,1000) Tests: 1 FF00FF00",
                             }));
    EXPECT_EQ(level.physics.awakeCount(), 0);
    EXPECT_EQ(level.physics.sleepingCount(), 0);
    EXPECT_EQ(level.physics.testCount(), 0);
}

} // namespace
} // namespace zor::test
