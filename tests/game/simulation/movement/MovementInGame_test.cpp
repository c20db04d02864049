// The movement steps in running harness games: an actor walking its ledge and turning at
// its ends, the player using exits and townsfolk, and a game's course repeating itself.

#include "tests/game/simulation/movement/MovementFixture.h"

#include "game/simulation/Simulator.h"
#include "game/world/level/PatchSet.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace zor::test {
namespace {

TEST(MovementInGame, AnActorSentSidewaysTurnsAtEachEndOfItsLedge) {
    auto harness = movementGame();
    ActorObject& pacer = *harness->world().spawnActor("m_pacer", {300.0f, 280.0f}, {1.0f, 0.0f});
    float left = pacer.getPosition().x;
    float right = left;
    int turns = 0;
    float facing = pacer.facing.x;
    for (int step = 0; step < 600; ++step) {
        harness->runSteps(1);
        left = std::min(left, pacer.getPosition().x);
        right = std::max(right, pacer.getPosition().x);
        if (pacer.facing.x != facing) ++turns;
        facing = pacer.facing.x;
    }
    // The ledge runs from 240 to 400; the edge is felt 4 px ahead within 0.2 s (12 px).
    EXPECT_GT(left, 240.0f - 8.0f);
    EXPECT_LT(left, 260.0f);
    EXPECT_LT(right, 400.0f + 8.0f);
    EXPECT_GT(right, 380.0f);
    EXPECT_GE(turns, 3) << "160 px at 60 px/s: a turn every 2.5 s or so";
    EXPECT_NEAR(pacer.getPosition().y, 280.0f, 0.01f) << "still on the ledge";
    EXPECT_EQ(pacer.groundState, 1);
}

TEST(MovementInGame, ThePlayerAtAnExitWithTheActivateIntentRequestsItsLevelOnceHalfASecondHasPassed) {
    auto harness = movementGame();
    ActorObject& player = *harness->world().player();
    player.setPosition({680.0f, 320.0f});
    int requestedAt = 0;
    for (int step = 1; step <= 40 && requestedAt == 0; ++step) {
        player.activatePressed = true;
        harness->runSteps(1);
        if (harness->simulator().requestedLevel() == "fixture_deep") requestedAt = step;
    }
    EXPECT_GE(requestedAt, 30) << "nothing can be activated in the first 0.5 s of a level";
    EXPECT_LE(requestedAt, 32);
}

TEST(MovementInGame, AnExitNeedingAnItemThePlayerLacksIsNeverTheTarget) {
    auto harness = movementGame();
    PatchExit locked;
    locked.name = "locked";
    locked.targetLevel = "fixture_cave";
    locked.targetEntry = "[start]";
    locked.requiredItem = "brass_key";
    harness->world().spawnExit(fpRect(280.0f, 200.0f, 80.0f, 80.0f), locked);
    ActorObject& player = *harness->world().player();
    player.setPosition({320.0f, 280.0f});
    auto indicators = [&] { return harness->recordings().callsStartingWith("UserInterface.showIndicator").size(); };

    for (int step = 0; step < 60; ++step) {
        player.activatePressed = true;
        harness->runSteps(1);
    }
    EXPECT_EQ(player.activationTargetId, 0);
    EXPECT_EQ(harness->simulator().requestedLevel(), "");
    EXPECT_EQ(indicators(), 0u);

    player.activatePressed = false;
    harness->world().progress.items.counts["brass_key"] = 1;
    harness->runSteps(13);
    EXPECT_NE(player.activationTargetId, 0) << "searched again within 0.2 s";
    EXPECT_GT(indicators(), 0u) << "without the activate intent it only shows the indicator";
    EXPECT_EQ(harness->simulator().requestedLevel(), "");
    player.activatePressed = true;
    harness->runSteps(1);
    EXPECT_EQ(harness->simulator().requestedLevel(), "fixture_cave");
}

TEST(MovementInGame, ABusyPlayerActivatesNothing) {
    auto harness = movementGame();
    ActorObject& player = *harness->world().player();
    player.setPosition({680.0f, 320.0f});
    player.busyFlags = BusyFlag::Script;
    for (int step = 0; step < 60; ++step) {
        player.activatePressed = true;
        harness->runSteps(1);
    }
    EXPECT_EQ(harness->simulator().requestedLevel(), "");
}

TEST(MovementInGame, ThePlayerNextToAVisibleTownspersonTalksToTheNearestOne) {
    auto harness = movementGame();
    ActorObject& player = *harness->world().player();
    ActorObject& hidden = *harness->world().spawnActor("m_elder", {130.0f, 320.0f}, {1.0f, 0.0f});
    hidden.visible = false;
    ActorObject& elder = *harness->world().spawnActor("m_elder", {160.0f, 320.0f}, {1.0f, 0.0f});
    harness->runSteps(40);
    EXPECT_EQ(player.activationTargetId, elder.id());
    player.physicalObject.velocity = {30.0f, 0.0f};
    player.activatePressed = true;
    harness->runSteps(1);
    EXPECT_EQ(harness->seams().count("QuestTracking.talkTo m_elder"), 1u);
    EXPECT_EQ(player.physicalObject.velocity.x, 0.0f) << "talking stops the player";
}

TEST(MovementInGame, TheStateOf600StepsIsTheSameInEveryRun) {
    auto run = [] {
        auto harness = movementGame(11);
        harness->world().spawnActor("m_pacer", {300.0f, 280.0f}, {1.0f, 0.0f});
        harness->world().spawnActor("m_pacer", {500.0f, 320.0f}, {-1.0f, 0.0f});
        harness->world().spawnActor("m_pebble", {200.0f, 100.0f}, {1.0f, 0.0f});
        harness->world().shakeCamera(6.0f, 2.0f, 1);
        harness->runSteps(600);
        return harness->stateHash();
    };
    EXPECT_EQ(run(), run());
}

} // namespace
} // namespace zor::test
