// A small scene stepped as the gameplay steps it, checked against positions worked out by
// hand. With steps of 1/16 s and a gravity of 512 px/s^2 every step adds 32 px/s and the
// free fall from rest covers 2, 4, 6 ... px: n (n + 1) px after n steps.

#include "tests/game/world/physics/PhysicsFixtures.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zor::test {
namespace {

constexpr float Step = 1.0f / 16.0f;
constexpr std::uint32_t Items = CollisionGroup::Items;
constexpr std::uint32_t Mask = CollisionGroup::Tiles | CollisionGroup::Bounds | CollisionGroup::Items;

// 800 x 400 px: a floor at y 360, a wall at x 600 to 640, a ledge at y 200 from x 80 to 240.
std::shared_ptr<PersistentTileMap> scene() {
    std::vector<std::string> rows(9, "...............#....");
    rows[5] = "..####.........#....";
    rows.push_back("####################");
    return tileMapFromRows(rows);
}

class PhysicsSceneTest : public ::testing::Test {
protected:
    PhysicsSceneTest() : level(scene()) {
        fallingBox = &level.addBox({120, 100, 20, 20}, Items, Mask);
        slidingBox = &level.addBox({540, 340, 20, 20}, Items, Mask);
        slidingBox->velocity = {64, 0};
        slidingBox->groundFriction = 0;
        ball = &level.addBox({400, 250, 10, 10}, Items, Mask);
        ball->bounciness = 0.5f;
    }

    void runTo(int step) {
        for (; steps < step; ++steps)
            for (PhysicalObject* object : {fallingBox, slidingBox, ball}) {
                object->gravity = {0, 512};
                level.physics.stepObject(*object, Step, true);
            }
    }

    void expectAt(const PhysicalObject& object, const fpVector2& position, const fpVector2& velocity,
                  const char* label) {
        EXPECT_NEAR(object.position().x, position.x, 2e-3f) << label << " after " << steps << " steps";
        EXPECT_NEAR(object.position().y, position.y, 2e-3f) << label << " after " << steps << " steps";
        EXPECT_NEAR(object.velocity.x, velocity.x, 1e-3f) << label << " after " << steps << " steps";
        EXPECT_NEAR(object.velocity.y, velocity.y, 1e-3f) << label << " after " << steps << " steps";
    }

    PhysicsLevel level;
    PhysicalObject* fallingBox;
    PhysicalObject* slidingBox;
    PhysicalObject* ball;
    int steps = 0;
};

TEST_F(PhysicsSceneTest, TheBoxFallsOntoTheLedgeAndStays) {
    runTo(8);
    expectAt(*fallingBox, {120, 172}, {0, 256}, "falling");
    // The ninth step would end at 190; the ledge stops it 0.001 above its top (180).
    runTo(9);
    expectAt(*fallingBox, {120, 179.999f}, {0, 0}, "landed");
    runTo(40);
    expectAt(*fallingBox, {120, 179.999f}, {0, 0}, "resting");
}

TEST_F(PhysicsSceneTest, TheFrictionlessBoxSlidesIntoTheWall) {
    // The first step starts on the floor: nudged 0.001 up, then the move slides 4 px along.
    runTo(1);
    expectAt(*slidingBox, {544, 339.999f}, {64, 0}, "sliding");
    // Every later step first reaches the floor 0.001 px down the diagonal move (0.002 px along
    // x), then slides the whole 4 px from there.
    runTo(9);
    expectAt(*slidingBox, {576.016f, 339.999f}, {64, 0}, "sliding");
    // The tenth step meets the wall at x 600 after 3.982 px of its slide.
    runTo(10);
    expectAt(*slidingBox, {579.999f, 339.999f}, {0, 0}, "at the wall");
    runTo(40);
    expectAt(*slidingBox, {579.999f, 339.999f}, {0, 0}, "resting");
}

TEST_F(PhysicsSceneTest, TheBallBouncesAtHalfItsSpeed) {
    runTo(9);
    expectAt(*ball, {400, 340}, {0, 288}, "falling");
    // Step ten meets the floor (y 360) halfway: the ball stops 0.001 above it, 320 px/s down
    // become 160 px/s up.
    runTo(10);
    expectAt(*ball, {400, 349.999f}, {0, -160}, "first bounce");
    // Up by 8 + 6 + 4 + 2 px to the top of the bounce.
    runTo(15);
    expectAt(*ball, {400, 329.999f}, {0, 0}, "top");
    // Down by 2 + 4 + 6 + 8 px, then the floor again 0.001 px into step twenty.
    runTo(20);
    expectAt(*ball, {400, 349.999f}, {0, -80}, "second bounce");
}

} // namespace
} // namespace zor::test
