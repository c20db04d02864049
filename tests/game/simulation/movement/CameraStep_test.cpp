// The camera step over a World of its own: the shake, the pan with its hold, the smooth
// follow and its snap, camera lines and the level clamp.

#include "game/simulation/movement/CameraStep.h"

#include "tests/support/game/FixtureDefinitions.h"

#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"

#include "Framework/core/math/Randomizer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace zor::test {
namespace {

constexpr float Step = 1.0f / 60.0f;

class CameraStep : public ::testing::Test {
protected:
    void SetUp() override {
        loadFixtureDefinitions();
        player = world.spawnPlayer();
        ASSERT_NE(player, nullptr);
        player->setPosition({1000.0f, 1000.0f});
        world.camera.viewSize = {640.0f, 360.0f};
        centreOn(focus());
    }

    fpVector2 focus() const { return player->center(); }
    fpVector2 centre() const {
        const fpRect& view = world.camera.visibleRect;
        return {view.x + view.w / 2.0f, view.y + view.h / 2.0f};
    }
    void centreOn(const fpVector2& point) { world.camera.setTopLeft(point - world.camera.viewSize / 2.0f); }
    void run(int steps, float step = Step) {
        for (int i = 0; i < steps; ++i) updateCamera(world, step);
    }
    // A level of 20 x 10 cells (800 x 400 px).
    Level& giveLevel() {
        world.level = std::make_shared<Level>("t_room");
        world.level->tileMap = std::make_shared<PersistentTileMap>(20, 10);
        return *world.level;
    }

    Randomizer random = Randomizer::fromSeed(4);
    World world{random};
    ActorObject* player = nullptr;
};

TEST_F(CameraStep, AShakeMovesTheViewOnlyWithACurveThatIsNotZeroAndAlwaysCountsDown) {
    struct Case {
        std::int32_t curve;
        bool moves;
    };
    for (const Case& c : {Case{0, true}, Case{10, true}, Case{11, false}, Case{12, false}, Case{-1, false}}) {
        centreOn(focus());
        world.shake = CameraShake();
        world.shakeCamera(8.0f, 0.5f, c.curve);
        run(1);
        const float moved = (centre() - focus()).length();
        if (c.moves)
            EXPECT_GT(moved, 1.0f) << "curve " << c.curve;
        else
            EXPECT_EQ(moved, 0.0f) << "curve " << c.curve;
        EXPECT_FLOAT_EQ(world.shake.remaining, 0.5f - Step) << "curve " << c.curve;
        run(60);
        EXPECT_EQ(world.shake.duration, 0.0f) << "curve " << c.curve;
        EXPECT_EQ(centre(), focus()) << "curve " << c.curve;
    }
}

TEST_F(CameraStep, APanOf400PxAt200PxPerSecondGoesHoldsAndComesBackHoldingThePlayer) {
    for (const float hold : {0.0f, 0.5f, 1.0f}) {
        world.panCamera(focus() + fpVector2(400.0f, 0.0f), 200.0f, hold, 1);
        int steps = 0;
        int stepsThere = 0;
        while (world.pan.curve != NoCameraCurve && steps < 1000) {
            run(1);
            ++steps;
            EXPECT_TRUE(player->busyFlags & BusyFlag::CameraPan) << "hold " << hold;
            if (std::fabs(centre().x - (focus().x + 400.0f)) < 1.5f) ++stepsThere;
        }
        EXPECT_NEAR(float(stepsThere), 60.0f * hold, 6.0f) << "hold " << hold;
        // One second there, the hold, one second back.
        EXPECT_NEAR(float(steps), 60.0f * (2.0f + hold), 2.0f) << "hold " << hold;
        run(1);
        EXPECT_FALSE(player->busyFlags & BusyFlag::CameraPan) << "hold " << hold;
        run(30);
        EXPECT_EQ(centre(), focus()) << "hold " << hold;
    }
}

TEST_F(CameraStep, APanWithANegativeHoldStaysAtItsTargetUntilAnotherReplacesIt) {
    const fpVector2 target = focus() + fpVector2(0.0f, -300.0f);
    world.panCamera(target, 200.0f, -1.0f, 4);
    run(600);
    EXPECT_NEAR(centre().y, target.y, 1.5f);
    EXPECT_TRUE(player->busyFlags & BusyFlag::CameraPan);
    world.panCamera(focus() + fpVector2(100.0f, 0.0f), 400.0f, 0.0f, 1);
    run(120);
    EXPECT_EQ(world.pan.curve, NoCameraCurve);
}

TEST_F(CameraStep, PansThatCouldNeverEndOrWouldTurnTheCameraIntoNaNAreRefused) {
    const float nan = std::nanf("");
    const float infinity = INFINITY;
    struct Case {
        fpVector2 target;
        float speed;
        float hold;
    };
    for (const Case& c : {Case{focus(), 0.0f, 0.0f}, Case{focus() + fpVector2(50.0f, 0.0f), -5.0f, 0.0f},
                          Case{focus(), nan, 0.0f}, Case{focus(), infinity, 0.0f},
                          Case{{nan, 0.0f}, 100.0f, 0.0f}, Case{focus(), 100.0f, nan}}) {
        world.panCamera(c.target, c.speed, c.hold, 1);
        EXPECT_EQ(world.pan.curve, NoCameraCurve) << c.speed;
        run(10);
        EXPECT_TRUE(std::isfinite(centre().x) && std::isfinite(centre().y)) << c.speed;
        EXPECT_FALSE(player->busyFlags & BusyFlag::CameraPan) << c.speed;
    }
    // A pan to the point the camera is on ends by itself.
    world.panCamera(focus(), 100.0f, 0.0f, 1);
    run(3);
    EXPECT_EQ(world.pan.curve, NoCameraCurve);
    EXPECT_EQ(centre(), focus());
}

TEST_F(CameraStep, FollowsByAShareOfTheGapScaledWithTheStepNeverOvershootingAndSnapsWhenClose) {
    struct Case {
        float step;
        fpVector2 gap;       // focus - centre before the step
        fpVector2 expected;  // the gap after it
    };
    for (const Case& c : {Case{1.0f / 60.0f, {100.0f, 0.0f}, {60.0f, 0.0f}},
                          Case{1.0f / 30.0f, {100.0f, 0.0f}, {20.0f, 0.0f}},
                          Case{1.0f / 30.0f, {-100.0f, 100.0f}, {-20.0f, 50.0f}},
                          Case{1.0f / 20.0f, {100.0f, 0.0f}, {0.0f, 0.0f}},
                          Case{1.0f / 10.0f, {0.0f, -100.0f}, {0.0f, 0.0f}},
                          Case{1.0f / 60.0f, {1.4f, -1.4f}, {0.0f, 0.0f}},
                          Case{0.0f, {100.0f, 100.0f}, {0.0f, 0.0f}}}) {
        centreOn(focus() - c.gap);
        run(1, c.step);
        const fpVector2 gap = focus() - centre();
        EXPECT_NEAR(gap.x, c.expected.x, 0.01f) << "step " << c.step << " gap " << c.gap.x << ", " << c.gap.y;
        EXPECT_NEAR(gap.y, c.expected.y, 0.01f) << "step " << c.step << " gap " << c.gap.x << ", " << c.gap.y;
    }
}

TEST_F(CameraStep, TheViewStaysInTheLevelUnlessItsBordersDoNotClampButCameraLinesAlwaysHold) {
    Level& level = giveLevel();
    player->setPosition({60.0f, 60.0f});
    run(120);
    EXPECT_EQ(world.camera.visibleRect.x, 0.0f);
    EXPECT_EQ(world.camera.visibleRect.y, 0.0f);

    level.bordersDontClampCamera = true;
    run(120);
    EXPECT_NEAR(centre().x, focus().x, 0.01f);
    EXPECT_NEAR(centre().y, focus().y, 0.01f);

    // A line down the level's left border keeps the view to its right.
    level.cameraClamps.push_back(fpSegment(0.0f, 2000.0f, 0.0f, -2000.0f));
    run(1);
    EXPECT_NEAR(world.camera.visibleRect.x, 0.0f, 0.01f);
}

TEST_F(CameraStep, TheCameraLeansTowardANearbyFocusTargetAndForgetsOneThatIsGone) {
    ActorObject& target = *world.spawnActor("crawler", player->getPosition() + fpVector2(200.0f, 0.0f), {1, 0});
    world.cameraFocusTargetId = target.id();
    run(120);
    EXPECT_NEAR(world.cameraFocusBlend, 1.0f, 0.02f);
    EXPECT_NEAR(centre().x - focus().x, 60.0f, 1.5f) << "30 % of the way";
    world.removeEntity(&target);
    run(1);
    EXPECT_EQ(world.cameraFocusTargetId, 0);
}

} // namespace
} // namespace zor::test
