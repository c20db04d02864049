// Going back and forth between the town and the mine, the shipped player (whose definition
// is persistent, so the level records hold a copy of it) is spawned afresh at every arrival
// and its stored copy is not restored: one player, however often the levels are revisited.

#include "game/simulation/Game.h"
#include "game/simulation/Simulator.h"
#include "game/simulation/seams/SeamFactory.h"
#include "game/simulation/seams/WorldPersistence.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"

#include "tests/support/common/TempFolder.h"
#include "tests/support/game/GameHarness.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace zor {
namespace {

using test::GameHarness;
using test::HarnessOptions;

constexpr int MaxStepsPerLevelChange = 60;

void changeLevel(GameHarness& harness, const std::string& level) {
    harness.simulator().requestLevel(level, Simulator::StartEntry, fpVector2());
    for (int step = 0; step < MaxStepsPerLevelChange; ++step) {
        harness.runSteps(1);
        if (!harness.simulator().levelChangePending() && !harness.game().levelBuildRunning()) break;
    }
    ASSERT_EQ(harness.world().level->name, level);
}

std::size_t players(const World& world) {
    std::size_t count = 0;
    for (const auto& [id, object] : world.gameObjects())
        if (object->gameObjectDefinition().name == "player") ++count;
    return count;
}

// The level records are written and read as the save slot's files do.
class SampleLevelReturns : public ::testing::Test {
protected:
    void SetUp() override {
        HarnessOptions options(1, "shalebury");
        options.sampleData = true;
        options.withSession = true;
        options.saveFiles = true;
        harness = std::make_unique<GameHarness>(options);
    }

    test::TempFolder user;
    test::ScopedEnv userFolder{"ZOR_USER_DIR", user.path().string()};
    std::unique_ptr<GameHarness> harness;
};

TEST_F(SampleLevelReturns, EveryReturnFindsOnePlayer) {
    ASSERT_TRUE(harness->world().player()->definition().persistent) << "the case this guards";
    for (int trip = 0; trip < 3; ++trip) {
        SCOPED_TRACE(trip);
        changeLevel(*harness, "mine1");
        EXPECT_EQ(players(harness->world()), 1u);
        changeLevel(*harness, "shalebury");
        EXPECT_EQ(players(harness->world()), 1u);
    }
}

TEST_F(SampleLevelReturns, ACopyOfThePlayerInAStoredRecordIsNotRestored) {
    changeLevel(*harness, "mine1");
    changeLevel(*harness, "shalebury");
    // The mine's record with the town's player in it.
    World& world = harness->world();
    const std::vector<Entity*> withPlayer{world.player()};
    SeamFactory().makeWorldPersistence()->writeEntities(withPlayer, world.saveState.levels.at("mine1")->entities,
                                                        world.saveState.names);
    changeLevel(*harness, "mine1");
    EXPECT_EQ(players(world), 1u);
}

} // namespace
} // namespace zor
