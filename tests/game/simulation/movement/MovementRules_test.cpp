// The movement rules one at a time on actors of a harness game: take-off speeds of every
// jump kind, the ledge as first jump, wall jumps, steam charging with and without water,
// ladders, pools and the lamp.

#include "tests/game/simulation/movement/MovementFixture.h"

#include "game/simulation/movement/MovementRules.h"
#include "game/world/entity/EffectObject.h"
#include "game/world/entity/WorldText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace zor::test {
namespace {

class MovementRules : public ::testing::Test {
protected:
    ActorObject& spawn(const std::string& name, const fpVector2& position = {500.0f, 320.0f}) {
        ActorObject* actor = harness->world().spawnActor(name, position, {1.0f, 0.0f});
        EXPECT_NE(actor, nullptr) << name;
        return *actor;
    }
    void remove(GameObject& object) {
        harness->world().removeEntity(&object);
        harness->world().processRemovals();
    }
    std::size_t cues(const std::string& cue) const {
        std::size_t n = 0;
        for (const SoundRequest& request : harness->world().soundRequests) n += request.cue == cue ? 1 : 0;
        return n;
    }
    std::size_t texts(const std::string& text) const {
        std::size_t n = 0;
        for (const auto& [id, worldText] : harness->world().worldTexts()) n += worldText->text == text ? 1 : 0;
        return n;
    }

    std::unique_ptr<GameHarness> harness = movementGame();
};

TEST_F(MovementRules, TakeOffSpeedsOfEveryJumpKind) {
    struct Case {
        const char* what;
        const char* actor;
        std::int32_t ground;
        std::int32_t jumpCount;
        float charge;
        bool plate;
        float velocityY;
        float impulseY;  // NAN: no take-off
        float velocityYAfter;
        bool normalJump;
    };
    const float none = NAN;
    for (const Case& c : {
             Case{"a plain jump", "m_hopper", 1, 0, 0.0f, false, 0.0f, -400.0f, 0.0f, true},
             Case{"a full charge adds 260", "m_steamer", 1, 0, 1.0f, false, 0.0f, -660.0f, 0.0f, false},
             Case{"half a charge adds 130", "m_steamer", 1, 0, 0.5f, false, 0.0f, -530.0f, 0.0f, false},
             Case{"a double jump while falling", "m_double", 0, 1, 0.0f, false, 300.0f, -400.0f, 0.0f, true},
             Case{"a double jump while rising", "m_double", 0, 1, 0.0f, false, -300.0f, -400.0f, -70.0f, true},
             Case{"no third jump", "m_double", 0, 2, 0.0f, false, 100.0f, none, 100.0f, false},
             Case{"no jump in the air without the double jump", "m_hopper", 0, 1, 0.0f, false, 100.0f, none,
                  100.0f, false},
             Case{"a jump plate", "m_hopper", 1, 0, 0.0f, true, 0.0f, -700.0f, 0.0f, false},
         }) {
        ActorObject& actor = spawn(c.actor);
        ActorObject* plate = c.plate ? &spawn("m_plate", {500.0f, 320.0f}) : nullptr;
        actor.groundState = c.ground;
        actor.jumpCount = c.jumpCount;
        actor.charge = c.charge;
        actor.jumpPressed = true;
        actor.jumpHeld = true;
        actor.physicalObject.velocity = {0.0f, c.velocityY};
        actor.physicalObject.impulse = {};
        ObjectStepContext context = stepContext();
        updateJumps(harness->objects(), actor, context);
        if (std::isnan(c.impulseY)) {
            EXPECT_EQ(actor.physicalObject.impulse, fpVector2()) << c.what;
            EXPECT_EQ(actor.jumpCount, c.jumpCount) << c.what;
        } else {
            EXPECT_FLOAT_EQ(actor.physicalObject.impulse.y, c.impulseY) << c.what;
            EXPECT_EQ(actor.physicalObject.impulse.x, 0.0f) << c.what;
            EXPECT_EQ(actor.groundState, 0) << c.what;
            EXPECT_EQ(actor.charge, 0.0f) << c.what;
            EXPECT_EQ(actor.normalJump, c.normalJump) << c.what;
        }
        EXPECT_FLOAT_EQ(actor.physicalObject.velocity.y, c.velocityYAfter) << c.what;
        remove(actor);
        if (plate) remove(*plate);
    }
    EXPECT_EQ(cues("player_jump"), 1u);
    EXPECT_EQ(cues("player_jump_steam"), 2u);
    EXPECT_EQ(cues("player_jump_double"), 2u);
    EXPECT_EQ(cues("jump_plate_jump"), 1u);
}

TEST_F(MovementRules, LettingGoOfJumpEarlyCutsOnlyAPlainJumpTo220) {
    struct Case {
        bool normalJump;
        bool held;
        float velocityY;
        float expected;
    };
    for (const Case& c : {Case{true, false, -400.0f, -220.0f}, Case{true, true, -400.0f, -400.0f},
                          Case{false, false, -400.0f, -400.0f}, Case{true, false, -100.0f, -100.0f},
                          Case{true, false, 200.0f, 200.0f}}) {
        ActorObject& actor = spawn("m_hopper", {500.0f, 200.0f});
        actor.normalJump = c.normalJump;
        actor.jumpHeld = c.held;
        actor.physicalObject.velocity.y = c.velocityY;
        ObjectStepContext context = stepContext();
        updateJumps(harness->objects(), actor, context);
        EXPECT_EQ(actor.physicalObject.velocity.y, c.expected) << c.normalJump << c.held << " " << c.velocityY;
        remove(actor);
    }
}

TEST_F(MovementRules, WalkingOffALedgeIsTheFirstJump) {
    for (const char* name : {"m_hopper", "m_double"}) {
        ActorObject& actor = spawn(name, {500.0f, 200.0f});
        actor.groundState = 0;
        countJumps(actor);
        EXPECT_EQ(actor.jumpCount, 1) << name;
        actor.jumpPressed = true;
        ObjectStepContext context = stepContext();
        updateJumps(harness->objects(), actor, context);
        const bool jumped = actor.physicalObject.impulse.y < 0.0f;
        EXPECT_EQ(jumped, std::string(name) == "m_double") << name;
        remove(actor);
    }
}

TEST_F(MovementRules, AWallJumpPointsAwayFromTheWallResetsTheCountAndLocksThePushBack) {
    for (const std::int32_t side : {1, -1}) {
        ActorObject& actor = spawn("m_hopper", {500.0f, 200.0f});
        actor.groundState = 0;
        actor.jumpCount = 1;
        actor.wallSide = side;
        actor.jumpPressed = true;
        actor.physicalObject.velocity.y = -300.0f;
        ObjectStepContext context = stepContext();
        updateJumps(harness->objects(), actor, context);
        const float root5 = std::sqrt(5.0f);
        EXPECT_NEAR(actor.physicalObject.impulse.x, float(side) * 400.0f / root5, 0.01f) << side;
        EXPECT_NEAR(actor.physicalObject.impulse.y, -800.0f / root5, 0.01f) << side;
        EXPECT_EQ(actor.jumpCount, 1) << "counted afresh from the wall";
        EXPECT_EQ(actor.physicalObject.velocity.y, -50.0f);
        EXPECT_EQ(actor.wallJumpLockDirection, -side);
        EXPECT_FLOAT_EQ(actor.wallJumpLockTime, 0.05f);
        EXPECT_EQ(actor.wallSide, 0);
        remove(actor);
    }
    EXPECT_EQ(harness->seams().startingWith("HitRules.digCell").size(), 2u) << "a heavy actor presses on the wall";
}

TEST_F(MovementRules, AHeavyActorCrushesABreakableWallInsteadOfJumping) {
    harness->seams().digCellDone = true;
    ActorObject& actor = spawn("m_hopper", {500.0f, 200.0f});
    actor.wallSide = 1;
    actor.jumpPressed = true;
    ObjectStepContext context = stepContext();
    updateJumps(harness->objects(), actor, context);
    EXPECT_EQ(harness->seams().count("HitRules.digCell 11 5"), 1u) << "the cell on the wall side";
    EXPECT_EQ(actor.physicalObject.impulse, fpVector2());
    EXPECT_EQ(actor.wallSide, 1);
}

TEST_F(MovementRules, ChargingNeedsWaterExceptOnAJumpPlate) {
    struct Case {
        const char* what;
        bool plate;
        float water;
        float chargeAfter;
        float waterAfter;
        std::size_t messages;
    };
    const float step = 0.1f;
    for (const Case& c : {Case{"with water", false, 2.0f, 0.46f, 1.54f, 0},
                          Case{"water runs out", false, 0.2f, 0.2f, 0.0f, 0},
                          Case{"without water", false, 0.05f, 0.0f, 0.05f, 1},
                          Case{"on a plate", true, 0.0f, 0.46f, 0.0f, 0}}) {
        ActorObject& actor = spawn("m_steamer");
        ActorObject* plate = c.plate ? &spawn("m_plate") : nullptr;
        actor.groundState = 1;
        actor.water = c.water;
        actor.jumpPressed = true;
        actor.jumpHeld = true;
        actor.moveVector = {0.0f, 1.0f};
        harness->objects().messageCooldown = 0.0f;
        ObjectStepContext context = stepContext(step);
        updateJumps(harness->objects(), actor, context);
        EXPECT_NEAR(actor.charge, c.chargeAfter, 0.0001f) << c.what;
        EXPECT_NEAR(actor.water, c.waterAfter, 0.0001f) << c.what;
        EXPECT_EQ(texts("need_water"), c.messages) << c.what;
        EXPECT_EQ(actor.physicalObject.impulse, fpVector2()) << c.what << ": no take-off while charging";
        remove(actor);
        if (plate) remove(*plate);
        for (const auto& [id, text] : harness->world().worldTexts()) harness->world().removeEntity(text);
        harness->world().processRemovals();
    }
    EXPECT_EQ(harness->recordings().callsStartingWith("UserInterface.flashStatusBar").size(), 1u);
}

TEST_F(MovementRules, ThePlayerGrabsALadderOnlyWithin11PxOfItsMiddle) {
    ActorObject& ladder = spawn("m_ladder", {300.0f, 320.0f});
    ActorObject& player = *harness->world().player();
    struct Case {
        float offset;
        float moveX;
        bool grabs;
    };
    for (const Case& c : {Case{10.0f, 0.0f, true}, Case{-10.0f, 0.0f, true}, Case{12.0f, 0.0f, false},
                          Case{0.0f, 1.0f, false}}) {
        player.climbing = 0;
        player.climbDirection = 0.0f;
        player.groundState = 1;
        player.setPosition({300.0f + c.offset, 320.0f});
        player.moveVector = {c.moveX, -1.0f};
        ObjectStepContext context = stepContext();
        context.previousGround = 1;
        updateLadder(harness->objects(), player, context);
        EXPECT_EQ(player.climbing == 1, c.grabs) << c.offset;
        EXPECT_EQ(player.ladderId, ladder.id()) << c.offset;
        if (c.grabs) {
            EXPECT_EQ(player.getPosition().x, 300.0f) << "moved onto the ladder";
            EXPECT_EQ(player.timedOffset.x, c.offset) << "the sprite slides over";
        }
    }
}

TEST_F(MovementRules, InAPoolsWaterAnActorFallsAtHalfGravityAtMost140PxPerSecondAndThePlayerRefills) {
    struct Case {
        float step;
        float poolWater;
        float playerWater;
        float gained;
    };
    ActorObject& player = *harness->world().player();
    for (const Case& c : {Case{0.5f, 7.0f, 1.0f, 0.3f}, Case{1.0f, 0.2f, 1.0f, 0.2f}, Case{1.0f, 7.0f, 4.9f, 0.1f},
                          Case{1.0f, 7.0f, 5.0f, 0.0f}}) {
        ActorObject& pool = spawn("trough", {300.0f, 320.0f});
        pool.water = c.poolWater;
        player.setPosition({300.0f, 320.0f});
        player.poolId = pool.id();
        player.liquidState = 0;
        player.water = c.playerWater;
        player.fallDistance = 80.0f;
        ObjectStepContext context = stepContext(c.step);
        updatePool(harness->objects(), player, context);
        EXPECT_EQ(context.speedLimit, 140.0f);
        EXPECT_EQ(context.gravityScale, 0.5f);
        EXPECT_EQ(player.fallDistance, 0.0f);
        EXPECT_EQ(player.liquidState, 1);
        EXPECT_NEAR(player.water - c.playerWater, c.gained, 0.0001f) << c.step << " " << c.poolWater;
        EXPECT_NEAR(c.poolWater - pool.water, c.gained, 0.0001f) << "the pool loses what the player takes";
        EXPECT_EQ(player.refilling, c.gained > 0.0f);
        remove(pool);
    }
    // The pool is gone: the player leaves it.
    ObjectStepContext context = stepContext();
    updatePool(harness->objects(), player, context);
    EXPECT_EQ(player.poolId, 0);
    EXPECT_EQ(player.liquidState, 0);
    EXPECT_EQ(context.gravityScale, 1.0f);
}

TEST_F(MovementRules, TheLampShrinksWithItsTimeAndFlickersInItsLastTenth) {
    struct Case {
        float fill;
        float time;
        float scale;
        float strength;
    };
    ActorObject& actor = spawn("m_hopper", {500.0f, 200.0f});
    for (const Case& c : {Case{1.0f, 0.0f, 1.3f, 1.0f}, Case{0.5f, 3.0f, 0.9f, 1.0f}, Case{0.1f, 3.0f, 0.58f, 1.0f},
                          Case{0.05f, 0.0f, 0.54f, 0.75f}, Case{0.02f, 1.3f, 0.516f, 0.78903266f},
                          Case{0.0005f, 0.0f, 0.5004f, 0.38270192f}, Case{0.0f, 0.7f, 0.5f, 0.0f}}) {
        actor.lightTime = 100.0f * c.fill;
        updateLampLight(actor, c.time);
        EXPECT_NEAR(actor.lightScale, c.scale, 0.0001f) << c.fill;
        EXPECT_NEAR(actor.lightStrength, c.strength, 0.0001f) << c.fill << " at " << c.time;
    }
}

TEST_F(MovementRules, AWallSlidePuffsLoopsItsSoundOnceAndStopsItOffTheWall) {
    ActorObject& actor = spawn("m_slider", {500.0f, 200.0f});
    auto slideLoops = [&] {
        std::size_t n = 0;
        for (const auto& cue : harness->recordings().cues) n += cue.cue == "slide_loop" && cue.loop ? 1 : 0;
        return n;
    };
    for (int i = 0; i < 3; ++i) {
        actor.wallSide = 1;
        actor.physicalObject.velocity.y = 60.0f;
        updateWallSlide(harness->objects(), actor, 0.1f);
    }
    EXPECT_EQ(slideLoops(), 1u);
    EXPECT_NE(actor.slideSound, 0u);
    actor.wallSide = 0;
    updateWallSlide(harness->objects(), actor, 0.1f);
    EXPECT_EQ(actor.slideSound, 0u);
    EXPECT_EQ(harness->recordings().callsStartingWith("GameAudio.stop").size(), 1u);

    // Jumping off the wall puffs at the middle of the body's wall-side edge.
    actor.wallSide = -1;
    actor.jumpPressed = true;
    updateWallSlide(harness->objects(), actor, 0.1f);
    const EffectObject* puff = nullptr;
    for (const auto& [id, effect] : harness->world().effects())
        if (effect->definition == &getEffectDefinition("land_puff")) puff = effect;
    ASSERT_NE(puff, nullptr);
    EXPECT_EQ(puff->getPosition(), fpVector2(508.0f, 185.0f));
    EXPECT_NEAR(puff->rotation, 3.0f * 1.57079633f, 0.0001f);
}

TEST_F(MovementRules, ARecentRunBoostsTheJumpUpTo40PercentAndNoSpanOfSpeedsMeansNoBoost) {
    struct Case {
        const char* actor;
        std::vector<float> history;
        float impulseY;
    };
    // The settings give MaxRunSpeed 400; the sprinter walks at 400, leaving no span.
    for (const Case& c : {Case{"m_hopper", {}, -400.0f}, Case{"m_hopper", {250.0f, 120.0f}, -480.0f},
                          Case{"m_hopper", {390.0f, 420.0f}, -560.0f}, Case{"m_sprinter", {420.0f}, -400.0f},
                          Case{"m_sprinter", {}, -400.0f}}) {
        harness->objects().playerSpeedHistory = c.history;
        ActorObject& actor = spawn(c.actor);
        actor.groundState = 1;
        actor.jumpPressed = true;
        ObjectStepContext context = stepContext();
        updateJumps(harness->objects(), actor, context);
        EXPECT_FLOAT_EQ(actor.physicalObject.impulse.y, c.impulseY) << c.actor << " " << c.history.size();
        remove(actor);
    }
}

} // namespace
} // namespace zor::test
