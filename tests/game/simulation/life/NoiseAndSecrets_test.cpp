// Noises the enemies hear, by distance, threshold and chance, the per-object throttle, and
// found secrets.

#include "tests/game/simulation/life/LifeFixture.h"

#include "game/world/level/Level.h"

namespace zor::test {
namespace {

using NoiseLevel = GameObjectSimulator::NoiseLevel;

class NoiseTest : public LifeTest {
protected:
    void SetUp() override { startIn("fixture_deep"); }

    ActorObject& spawnListener(const std::string& name, const fpVector2& at) {
        return *world().spawnActorFacingRight(name, at);
    }
};

TEST_F(NoiseTest, WhatIsHeardFallsWithDistanceToNothingAtTheRadius) {
    struct Case {
        float distance;
        float heard;
    };
    ActorObject& listener = spawnListener("listener", {500, 300});
    for (const Case& c : {Case{100, 0}, Case{100.5f, 0}, Case{0, 8}, Case{50, 4}, Case{99, 0.08f}}) {
        SCOPED_TRACE(c.distance);
        listener.heardNoise = 0.0f;
        objects().emitNoise(NoiseLevel{100, 8}, listener.center() + fpVector2(0, c.distance), 0);
        EXPECT_NEAR(listener.heardNoise, c.heard, 1e-4f);
    }
}

TEST_F(NoiseTest, NeitherTheSourceNorAnActorWithoutAThresholdHears) {
    ActorObject& listener = spawnListener("listener", {500, 300});
    ActorObject& deaf = spawnListener("deaf", {520, 300});
    objects().emitNoise(NoiseLevel{100, 8}, listener.center(), listener.id());
    EXPECT_EQ(listener.heardNoise, 0.0f);
    objects().emitNoise(NoiseLevel{100, 8}, deaf.center(), 0);
    EXPECT_EQ(deaf.heardNoise, 0.0f);
    EXPECT_GT(listener.heardNoise, 0.0f);
}

// Between Low and High the reaction is a draw; at High or more it is certain; with Low equal
// to High only more than High counts. A reaction empties what was heard.
TEST_F(NoiseTest, AnActorReactsByChanceBetweenItsLimitsAndForSureAboveThem) {
    struct Case {
        const char* actor;
        float amount;
        double lowest, highest;  // share of reactions
    };
    const Case cases[] = {
        {"listener", 15, 0.45, 0.55}, {"listener", 20, 1, 1}, {"listener", 10, 0, 0}, {"listener", 12, 0.15, 0.25},
        {"alert", 5, 0, 0}, {"alert", 5.5f, 1, 1},
    };
    constexpr int Draws = 2000;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.actor) + " " + std::to_string(c.amount));
        ActorObject& listener = spawnListener(c.actor, {500, 300});
        int reactions = 0;
        for (int i = 0; i < Draws; ++i) {
            listener.heardNoise = 0.0f;
            objects().emitNoise(NoiseLevel{100, c.amount}, listener.center(), 0);
            if (listener.heardNoise == 0.0f) ++reactions;
        }
        const double share = double(reactions) / Draws;
        EXPECT_GE(share, c.lowest);
        EXPECT_LE(share, c.highest);
        world().removeEntity(&listener);
        world().processRemovals();
    }
}

TEST_F(NoiseTest, AnObjectMakesOneNoiseEveryThreeTenthsOfASecondUnlessALouderOneComes) {
    ActorObject& listener = spawnListener("listener", player().getPosition() + fpVector2(40, 0));
    const NoiseLevel tiny{200, 1};
    const NoiseLevel small{200, 2};
    auto heardAfter = [&](const NoiseLevel& level) {
        listener.heardNoise = 0.0f;
        objects().makeNoise(player(), level);
        return listener.heardNoise > 0.0f;
    };
    EXPECT_TRUE(heardAfter(tiny));
    EXPECT_FALSE(heardAfter(tiny));
    harness->runSteps(17);  // the cooldown runs down with the object's updates
    EXPECT_FALSE(heardAfter(tiny));
    harness->runSteps(2);
    EXPECT_TRUE(heardAfter(tiny));
    EXPECT_TRUE(heardAfter(small));  // louder: at once
    EXPECT_FALSE(heardAfter(small));
}

TEST_F(NoiseTest, ASecretPlaysItsCueAndShowsTheBannerButCountsOnlyInACave) {
    struct Case {
        const char* level;
        std::uint16_t before, after;
    };
    // The saved count has 16 bits: at its top it stays there rather than starting over.
    for (const Case& c : {Case{"fixture_deep", 0, 0}, Case{"fixture_cave", 0, 1}, Case{"fixture_cave", 65535, 65535}}) {
        SCOPED_TRACE(std::string(c.level) + " " + std::to_string(c.before));
        startIn(c.level);
        makeCounters({"cntr_found_secrets"});
        progress().secretsFound = c.before;
        objects().onSecretFound();
        EXPECT_EQ(player().pendingSounds, (std::vector<std::string>{"found_secret"}));
        EXPECT_EQ(uiCalls("showBanner"),
                  (std::vector<std::string>{"UserInterface.showBanner banner_quest found_secret found_secret 2"}));
        EXPECT_EQ(progress().secretsFound, c.after);
        // The counter is handed the new count, which its own mode (adding here) combines.
        EXPECT_EQ(counter("cntr_found_secrets"), std::string(c.level) == "fixture_cave" ? c.after : 0);
    }
}

} // namespace
} // namespace zor::test
