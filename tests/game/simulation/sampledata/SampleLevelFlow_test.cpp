// The level flow on the sample data: entering "mine1", its population, level changes with
// their saves, the cave's death and continue, the return entry, and a stable state hash.

#include "game/simulation/Game.h"
#include "game/simulation/GameObjectSimulator.h"
#include "game/simulation/Simulator.h"
#include "game/world/PersistentTileMap.h"
#include "game/world/World.h"
#include "game/world/entity/ExitObject.h"

#include "tests/support/game/GameHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace zor {
namespace {

using test::GameHarness;
using test::HarnessOptions;

constexpr int MaxStepsPerLevelChange = 60;

std::unique_ptr<GameHarness> sampleGame(const std::string& level, std::uint32_t seed = 1) {
    HarnessOptions options(seed, level);
    options.sampleData = true;
    return std::make_unique<GameHarness>(options);
}

void changeLevel(GameHarness& harness, const std::string& level, const std::string& entry = Simulator::StartEntry) {
    harness.simulator().requestLevel(level, entry, fpVector2());
    for (int step = 0; step < MaxStepsPerLevelChange; ++step) {
        harness.runSteps(1);
        if (!harness.simulator().levelChangePending() && !harness.game().levelBuildRunning()) break;
    }
    ASSERT_EQ(harness.world().level->name, level);
}

// An arriving player settles up to 16 px down from where it is put.
bool settledFrom(const fpVector2& point, const fpVector2& position) {
    return position.x == point.x && position.y >= point.y && position.y <= point.y + 16.0f;
}

bool isArrivalPoint(const Level& level, const std::string& entry, const fpVector2& position) {
    const auto found = level.markers.find(entry);
    if (found == level.markers.end()) return false;
    for (const LevelMarker& marker : found->second)
        if (settledFrom({marker.x, marker.y}, position)) return true;
    return false;
}

TEST(SampleLevelFlow, EnteringMine1AndSteppingSixHundredTimesEndsInTheSameState) {
    const auto play = [](std::uint32_t seed) {
        std::unique_ptr<GameHarness> harness = sampleGame("mine1", seed);
        harness->runSteps(600);
        return harness->stateHash();
    };
    const std::uint64_t first = play(5);
    EXPECT_EQ(play(5), first);
    // Kept in the test report, so that runs of separate processes and builds can be compared.
    std::ostringstream hex;
    hex << std::hex << first;
    RecordProperty("stateHash", hex.str());
    EXPECT_NE(play(6), first) << "another seed, another mine";
}

TEST(SampleLevelFlow, Mine1StartsWithThePlayerAtItsStartAndItsPlacementsInPlace) {
    std::unique_ptr<GameHarness> harness = sampleGame("mine1");
    World& world = harness->world();
    const ActorObject& player = *world.player();
    EXPECT_TRUE(isArrivalPoint(*world.level, "[start]", player.getPosition())) << player.getPosition();
    EXPECT_EQ(player.hitPoints, player.definition().hitPoints);
    EXPECT_EQ(player.lightTime, player.definition().lightTime);
    std::set<std::string> exitTargets;
    for (const auto& [id, exit] : world.exits()) exitTargets.insert(exit->link->targetLevel);
    EXPECT_EQ(exitTargets, (std::set<std::string>{"shalebury", "cinder_hollow"}));
    EXPECT_EQ(world.shapeObjects().size(), world.level->typedObjects.size());
    // Every settling crawler rests on something: a further settle moves it no more.
    int crawlers = 0;
    for (const auto& [id, object] : world.gameObjects()) {
        if (object->gameObjectDefinition().name != "mire_crawler") continue;
        ++crawlers;
        const fpVector2 resting = object->getPosition();
        harness->objects().settleSpawnedActor(*object, 16.0f, false);
        EXPECT_EQ(object->getPosition(), resting);
    }
    EXPECT_EQ(crawlers, std::int32_t(world.level->actorPlacements.size()));
}

TEST(SampleLevelFlow, LevelChangesSaveWhenTheyLeaveMine1OrEnterTheTownButNotAtTheFirstBuild) {
    std::unique_ptr<GameHarness> harness = sampleGame("shalebury");
    struct Step {
        const char* level;
        std::size_t saves;
    };
    std::size_t saved = harness->seams().count("WorldPersistence.save");
    EXPECT_EQ(saved, 0u) << "SaveOnEnter, but the first build";
    for (const Step& step : {Step{"mine1", 0}, Step{"shalebury", 1}, Step{"mine1", 0}, Step{"cinder_hollow", 1},
                             Step{"mine1", 0}}) {
        SCOPED_TRACE(step.level);
        changeLevel(*harness, step.level);
        const std::size_t now = harness->seams().count("WorldPersistence.save");
        EXPECT_EQ(now - saved, step.saves);
        saved = now;
    }
}

TEST(SampleLevelFlow, AReturnLeadsBackAndADeathInTheCaveStartsItAgain) {
    std::unique_ptr<GameHarness> harness = sampleGame("mine1");
    World& world = harness->world();
    const fpVector2 left = world.player()->getPosition() + fpVector2(40, 0);
    world.player()->setPosition(left);
    changeLevel(*harness, "shalebury");
    changeLevel(*harness, "mine1", Simulator::ReturnEntry);
    EXPECT_TRUE(settledFrom(left, world.player()->getPosition())) << world.player()->getPosition();

    changeLevel(*harness, "cinder_hollow");
    world.progress.cash = 120;
    harness->objects().killActor(*world.player());
    harness->simulator().showGameOver(0);
    harness->userInterface().gameOverClosed.fireNoArgs();
    EXPECT_EQ(harness->simulator().requestedLevel(), "cinder_hollow");
    changeLevel(*harness, "cinder_hollow");
    EXPECT_EQ(world.progress.cash, 0) << "the cave's visit is forgotten";
    EXPECT_TRUE(isArrivalPoint(*world.level, "[start]", world.player()->getPosition()));
    EXPECT_TRUE(world.player()->isAlive());
}

TEST(SampleLevelFlow, APitDugUnderTheArrivalNeverKillsTheReturningPlayer) {
    const auto enterOverAPit = [](std::uint32_t seed) {
        std::unique_ptr<GameHarness> harness = sampleGame("mine1", seed);
        World& world = harness->world();
        // A shaft three cells wide and twenty deep under the arrival, kept by the mine's save.
        const fpVector2 arrival = world.player()->center();
        const std::int32_t column = std::int32_t(arrival.x / TileSize);
        const std::int32_t top = std::int32_t(world.player()->physicalObject.getBounds().bottom() / TileSize);
        for (std::int32_t row = top; row < top + 20; ++row)
            for (std::int32_t x = column - 1; x <= column + 1; ++x)
                *world.level->tileMap->cell(x, row) &= std::uint8_t(~TileBits::Solid);
        changeLevel(*harness, "shalebury");
        changeLevel(*harness, "mine1");
        const float hitPoints = world.player()->hitPoints;
        harness->runSteps(600);
        EXPECT_TRUE(world.player()->isAlive());
        EXPECT_EQ(world.player()->hitPoints, hitPoints) << "no fall damage either";
        return world.player()->getPosition();
    };
    EXPECT_EQ(enterOverAPit(1), enterOverAPit(1));
}

TEST(SampleLevelFlow, DeathsInTheMineWakeThePlayerInTheTownWithTheShippedTalks) {
    std::unique_ptr<GameHarness> harness = sampleGame("mine1");
    World& world = harness->world();
    const auto dieAndContinue = [&](const std::string& cause) {
        world.progress.lastDeathCause = cause;
        harness->objects().killActor(*world.player());
        harness->simulator().showGameOver(0);
        harness->userInterface().gameOverClosed.fireNoArgs();
        changeLevel(*harness, "shalebury");
    };
    dieAndContinue("");
    dieAndContinue("rockfall");  // no talk of its own
    dieAndContinue("fall");
    EXPECT_EQ(harness->recordings().callsStartingWith("UserInterface.startConversation"),
              (std::vector<std::string>{"UserInterface.startConversation death_first",
                                        "UserInterface.startConversation death_fallback",
                                        "UserInterface.startConversation death_fall"}));
    EXPECT_EQ(world.player()->hitPoints, std::min(2.0f, world.player()->definition().hitPoints));
}

} // namespace
} // namespace zor
