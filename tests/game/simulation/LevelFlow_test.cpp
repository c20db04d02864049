// The level flow on the harness's fixture levels: the first build, populating a level,
// entries, death and the continue, stored entities, checkpoints and saves, the debug
// requests of the start, the demo, and the work that waits for the main thread.

#include "game/simulation/Game.h"
#include "game/simulation/GameObjectSimulator.h"
#include "game/simulation/GameSession.h"
#include "game/simulation/Simulator.h"
#include "game/world/World.h"
#include "game/world/entity/ExitObject.h"
#include "game/world/entity/GameObjectSetup.h"
#include "game/world/entity/ShapeObject.h"

#include "game/definitions/ActorDefinition.h"
#include "game/definitions/ConversationDefinition.h"
#include "game/definitions/QuestDefinition.h"

#include "Framework/core/settings/SettingsHandler.h"

#include "tests/support/common/LogCapture.h"
#include "tests/support/game/FixtureDefinitions.h"
#include "tests/support/game/FixtureLevels.h"
#include "tests/support/game/GameHarness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace zor {
namespace {

using test::GameHarness;
using test::HarnessOptions;

// More than a level change asked for at any moment takes: the fade-in still running, the
// fade-out, the build and the hand-back.
constexpr int MaxStepsPerLevelChange = 60;

void loadFlowDefinitions() {
    static const bool loaded = [] {
        test::loadFixtureDefinitions();
        test::addDefinitions(conversationRegistry(), "flow conversations", R"(
          <Conversation><Name>death_first</Name>
            <Dialog><Entry><Speaker>miner</Speaker><Text>talk_death_first</Text></Entry></Dialog></Conversation>
          <Conversation><Name>death_fallback</Name>
            <Dialog><Entry><Speaker>miner</Speaker><Text>talk_death</Text></Entry></Dialog></Conversation>
          <Conversation><Name>death_lava</Name>
            <Dialog><Entry><Speaker>miner</Speaker><Text>talk_death_lava</Text></Entry></Dialog></Conversation>)");
        test::addDefinitions(actorRegistry(), "flow actors", R"(
          <Actor><Name>core_post</Name><Template>crawler</Template><SpecialType>generator</SpecialType></Actor>
          <Actor><Name>spinner</Name><Template>crawler</Template><RandomDirection>true</RandomDirection></Actor>)");
        return true;
    }();
    (void)loaded;
}

SettingsHandler& settings() {
    return SettingsHandler::instance();
}

// The fixture levels, with a change made to every level after it is built.
class ChangedLevels final : public LevelSource {
public:
    explicit ChangedLevels(std::function<void(Level&)> change) : m_change(std::move(change)) {}
    std::shared_ptr<Level> buildLevel(const std::string& name, std::shared_ptr<PersistentLevelInfo>& info,
                                      Randomizer& seeds) const override {
        std::shared_ptr<Level> level = test::fixtureLevels()->buildLevel(name, info, seeds);
        m_change(*level);
        return level;
    }

private:
    std::function<void(Level&)> m_change;
};

class LevelFlowTest : public ::testing::Test {
protected:
    void SetUp() override { loadFlowDefinitions(); }

    // The old game goes first: the first harness of a program owns the settings.
    void start(HarnessOptions options = HarnessOptions()) {
        harness.reset();
        harness = std::make_unique<GameHarness>(options);
    }
    World& world() { return harness->world(); }
    Simulator& simulator() { return harness->simulator(); }
    ActorObject& player() { return *world().player(); }
    test::SeamRecordings& seams() { return harness->seams(); }
    std::size_t calls(const std::string& call) { return harness->recordings().callsStartingWith(call).size(); }

    // Steps until the pending change is built and handed back.
    void finishLevelChange() {
        for (int step = 0; step < MaxStepsPerLevelChange; ++step) {
            harness->runSteps(1);
            if (!simulator().levelChangePending() && !harness->game().levelBuildRunning()) return;
        }
        FAIL() << "the level change did not finish";
    }
    void changeLevel(const std::string& level, const std::string& entry = Simulator::StartEntry) {
        simulator().requestLevel(level, entry, fpVector2());
        finishLevelChange();
        ASSERT_EQ(world().level->name, level);
    }
    // The death the player's death rules record, the game-over screen, and the continue.
    void dieAndContinue() {
        harness->objects().killActor(player());
        simulator().showGameOver(0);
        harness->userInterface().gameOverClosed.fireNoArgs();
        finishLevelChange();
    }
    // A persistent game object as the save reader makes one: not yet registered.
    GameObject* storedGuard(const fpVector2& position) {
        auto* guard = new ActorObject(getActorDefinitionPtr("stone_guard"));
        guard->reset();
        guard->setPosition(position);
        setupGameObject(*guard, world().random());
        return guard;
    }

    std::unique_ptr<GameHarness> harness;
};

TEST_F(LevelFlowTest, TheFirstBuildStartsAtFullHealthWithTheSnapshotsProgressAtTheStart) {
    start();
    EXPECT_EQ(world().level->name, "fixture_mine");
    EXPECT_EQ(player().getPosition(), fpVector2(120, 320));
    EXPECT_EQ(player().facing.x, 1.0f);
    EXPECT_EQ(player().hitPoints, 10.0f);
    EXPECT_EQ(player().lightTime, 120.0f);
    EXPECT_EQ(player().water, 5.0f) << "as spawned";
    EXPECT_EQ(player().requestedWeapon, 1) << "the weapon the attack cycle switches to";
    EXPECT_EQ(player().requestedToolIndex, 0);
    EXPECT_EQ(seams().calls, (std::vector<std::string>{"WorldPersistence.loadSave", "GameRules.pouchCapacity",
                                                       "GameRules.applyPlayerUpgrades",
                                                       "WorldPersistence.writeEntities 1",
                                                       "WorldPersistence.saveSession"}))
        << "the checkpoint of the first visit, with the persistent player; no save, but the session";
    // The entry's checkpoint.
    const SaveState& state = world().saveState;
    EXPECT_EQ(state.hitPoints, 10.0f);
    ASSERT_NE(state.levels.at("fixture_mine"), nullptr);
    EXPECT_EQ(state.levels.at("fixture_mine")->playerPosition, fpVector2(120, 320));
    EXPECT_EQ(state.levels.at("fixture_mine")->tileMap->data(), world().level->tileMap->data());
    EXPECT_EQ(world().camera.getTopLeft(), player().center());
}

TEST_F(LevelFlowTest, ALevelStartsWithItsActorsResourcesExitsAndShapes) {
    start();
    const ActorObject* crawler = nullptr;
    const ResourceObject* ore = nullptr;
    const ExitObject* exit = nullptr;
    std::vector<const ShapeObject*> shapes;
    for (const auto& [id, entity] : world().entities()) {
        if (entity->type() == EntityType::Exit) exit = static_cast<const ExitObject*>(entity);
        if (entity->type() == EntityType::Shape) shapes.push_back(static_cast<const ShapeObject*>(entity));
        if (entity->type() != EntityType::GameObject) continue;
        const auto* object = static_cast<const GameObject*>(entity);
        if (object->gameObjectDefinition().name == "crawler") crawler = static_cast<const ActorObject*>(object);
        if (object->gameObjectDefinition().name == "ore") ore = static_cast<const ResourceObject*>(object);
    }
    ASSERT_NE(crawler, nullptr);
    EXPECT_EQ(crawler->getPosition(), fpVector2(460, 320)) << "settled onto the floor";
    EXPECT_EQ(crawler->placementKey, (PlacementKey{1, 1}));
    ASSERT_NE(ore, nullptr);
    EXPECT_EQ(ore->getPosition(), fpVector2(300, 300));
    EXPECT_EQ(ore->remainingLifeTime, 0.0f) << "placed resources do not expire";
    EXPECT_EQ(ore->placementKey, (PlacementKey{2, 1}));
    ASSERT_NE(exit, nullptr);
    EXPECT_EQ(exit->link->targetLevel, "fixture_deep");
    EXPECT_EQ(exit->physicalObject.getBounds(), fpRect(640, 240, 80, 80)) << "standing on its point";
    ASSERT_EQ(shapes.size(), 2u);
    EXPECT_EQ(shapes[0]->name, "trigger_zone");
    EXPECT_EQ(shapes[0]->physicalObject.getBounds(), fpRect(40, 40, 80, 80));
    EXPECT_EQ(shapes[0]->placementKey, (PlacementKey{3, 1}));
    EXPECT_EQ(shapes[1]->name, "lamp_spot");
    EXPECT_EQ(shapes[1]->shapeKind, 0);
    EXPECT_EQ(shapes[1]->getPosition(), fpVector2(200, 100));
    EXPECT_TRUE(shapes[1]->physicalObject.bodies().empty());
}

TEST_F(LevelFlowTest, PlacementsTurnSkipAndForceAsTheirRecordsAndDefinitionsSay) {
    HarnessOptions options(1, "fixture_deep");
    options.levels = std::make_shared<ChangedLevels>([](Level& level) {
        // Beyond the update area around the player at the start.
        PatchEntity placement;
        placement.id = 9;
        placement.x = 700;
        placement.y = 200;
        placement.facingX = 1;
        placement.facingY = 1;
        placement.definitionName = "core_post";
        placement.name = "core_key";  // a generator whose item the player holds is gone
        level.actorPlacements.push_back(placement);
        placement.definitionName = "spinner";
        placement.name = "spun";
        level.actorPlacements.push_back(placement);
        placement.definitionName = "crawler";
        placement.name = "quartered";
        placement.randomQuarterTurn = true;
        placement.centreOffsetX = 40;
        placement.centreOffsetY = 0;
        level.actorPlacements.push_back(placement);
        level.forceUpdateAll = true;
        level.typedObjects.push_back({"odd", 12, 0, 7, 10, 10, 0, 0});
    });
    test::LogCapture log;
    start(options);
    world().progress.items.counts["core_key"] = 1;
    changeLevel("fixture_mine");
    changeLevel("fixture_deep");
    std::vector<const ActorObject*> placed;
    for (const auto& [id, object] : world().gameObjects())
        if (!object->name.empty()) placed.push_back(static_cast<const ActorObject*>(object));
    ASSERT_EQ(placed.size(), 2u);
    EXPECT_EQ(placed[0]->name, "spun");
    EXPECT_EQ(std::abs(placed[0]->facing.x), 1.0f);
    EXPECT_EQ(placed[0]->facing.y, 0.0f);
    const ActorObject& quartered = *placed[1];
    EXPECT_EQ(quartered.name, "quartered");
    // Turned about the centre 40 px to its right: one of the four points around it.
    const fpVector2 turn = quartered.facing;
    EXPECT_EQ(std::abs(turn.x) + std::abs(turn.y), 1.0f);
    EXPECT_EQ(quartered.getPosition(), fpVector2(740.0f - 40.0f * turn.x, 200.0f - 40.0f * turn.y));
    harness->runSteps(1);
    // Forced once, in the step of the hand-back, though beyond the update area.
    EXPECT_EQ(seams().count("ActorSteps.updateActor spinner"), 3u) << "ForceUpdateAll, once in each of three visits";
    bool oddLogged = false;
    for (const std::string& line : log.warnings) oddLogged = oddLogged || line.find("'odd'") != std::string::npos;
    EXPECT_TRUE(oddLogged) << "a shape of kind 7 is skipped and logged";
}

TEST_F(LevelFlowTest, EntriesPickTheirArrivalPointElseStartElseTheCentre) {
    struct Case {
        const char* entry;
        bool withMarkers;
        fpVector2 position;
        float facing;
    };
    for (const Case& c : {Case{"[side]", true, {600, 320}, -1.0f}, Case{"[nowhere]", true, {120, 320}, 1.0f},
                          Case{"[side]", false, {400, 200}, 1.0f}}) {
        SCOPED_TRACE(c.entry + std::string(c.withMarkers ? " with markers" : " without"));
        HarnessOptions options(1, "fixture_mine");
        const bool markers = c.withMarkers;
        options.levels = std::make_shared<ChangedLevels>([markers](Level& level) {
            if (!markers) level.markers.clear();
        });
        start(options);
        changeLevel("fixture_deep", c.entry);
        EXPECT_EQ(player().facing.x, c.facing);
        // The arrival settles 16 px at most; in the air (a fall it survives) it stays up.
        EXPECT_EQ(player().getPosition().x, c.position.x);
        EXPECT_NEAR(player().getPosition().y, c.position.y, c.withMarkers ? 0.0f : 16.0f);
    }
}

TEST_F(LevelFlowTest, ReturningPutsThePlayerWhereItLastLeftTheLevel) {
    start();
    changeLevel("fixture_deep");
    player().setPosition({520, 320});
    changeLevel("fixture_mine");
    changeLevel("fixture_deep", Simulator::ReturnEntry);
    EXPECT_EQ(player().getPosition(), fpVector2(520, 320));
    // A level never left has no return point: its start.
    changeLevel("fixture_town", Simulator::ReturnEntry);
    EXPECT_EQ(player().getPosition(), fpVector2(120, 320));
}

TEST_F(LevelFlowTest, DyingOutsideACaveKeepsTheLevelAndWakesInTheRespawnLevelWeakened) {
    start();
    *world().level->tileMap->cell(3, 8) = 0;  // dug before the death
    world().progress.cash = 40;
    dieAndContinue();
    ASSERT_EQ(world().level->name, "fixture_town");
    // The light may have marked it seen; the solid bit is what the dig cleared.
    EXPECT_EQ(world().saveState.levels.at("fixture_mine")->tileMap->get(3, 8, 1) & 1, 0) << "its checkpoint was taken";
    EXPECT_EQ(world().progress.cash, 40);
    EXPECT_EQ(player().hitPoints, 2.0f);
    EXPECT_EQ(player().lightTime, 120.0f);
    EXPECT_EQ(player().water, 0.0f);
    EXPECT_EQ(itemCount("ladder", world().progress.items), 1);
    EXPECT_EQ(harness->recordings().callsStartingWith("UserInterface.startConversation"),
              (std::vector<std::string>{"UserInterface.startConversation death_first"}));
    EXPECT_FALSE(settings().getBool("Profile.FirstDeath"));
}

TEST_F(LevelFlowTest, DyingInACaveForgetsTheVisitAndStartsTheCaveAgain) {
    start();
    changeLevel("fixture_cave");
    const float healthAtEntry = player().hitPoints;
    world().progress.cash = 99;
    player().setPosition({500, 320});
    dieAndContinue();
    EXPECT_EQ(world().level->name, "fixture_cave");
    EXPECT_EQ(player().getPosition(), fpVector2(120, 320));
    EXPECT_EQ(world().progress.cash, 0) << "back to the cave's entry";
    EXPECT_EQ(player().hitPoints, healthAtEntry) << "the vital values of the last checkpoint";
    EXPECT_EQ(calls("UserInterface.startConversation"), 0u);
}

TEST_F(LevelFlowTest, TheDeathConversationFollowsTheFirstDeathAndTheCause) {
    struct Case {
        bool firstDeath;
        const char* cause;
        const char* conversation;  // empty: none
    };
    for (const Case& c : {Case{true, "lava", "death_first"}, Case{false, "lava", "death_lava"},
                          Case{false, "badger", "death_fallback"}, Case{false, "", ""}}) {
        SCOPED_TRACE(std::string(c.cause) + (c.firstDeath ? ", first" : ""));
        start();
        settings().setValue("Profile.FirstDeath", c.firstDeath ? 1 : 0);
        world().progress.lastDeathCause = c.cause;
        dieAndContinue();
        const std::vector<std::string> opened = harness->recordings().callsStartingWith("UserInterface.startConversation");
        if (*c.conversation)
            EXPECT_EQ(opened, (std::vector<std::string>{std::string("UserInterface.startConversation ") + c.conversation}));
        else
            EXPECT_TRUE(opened.empty());
        EXPECT_TRUE(world().progress.lastDeathCause.empty());
    }
}

TEST_F(LevelFlowTest, SuicideIsADeathOfItsOwnCause) {
    start();
    settings().setValue("Profile.FirstDeath", 0);
    world().suicideRequested.fireNoArgs();
    EXPECT_EQ(player().hitPoints, 0.0f);
    EXPECT_EQ(player().lastDamageType, DamageType::Suicide);
    EXPECT_EQ(world().progress.lastDeathCause, "suicide");
    simulator().showGameOver(0);
    harness->userInterface().gameOverClosed.fireNoArgs();
    finishLevelChange();
    // No conversation is named "death_suicide".
    EXPECT_EQ(harness->recordings().callsStartingWith("UserInterface.startConversation"),
              (std::vector<std::string>{"UserInterface.startConversation death_fallback"}));
}

TEST_F(LevelFlowTest, ADeadPlayerIsCheckpointedAsExactlyZero) {
    start();
    player().hitPoints = -3.0f;  // the overkill of a last blow
    simulator().takeCheckpoint();
    EXPECT_EQ(world().saveState.hitPoints, 0.0f);
    player().hitPoints = 0.000005f;  // dead by the threshold
    simulator().takeCheckpoint();
    EXPECT_EQ(world().saveState.hitPoints, 0.0f);
}

TEST_F(LevelFlowTest, StoredEntitiesComeBackFreeingRegrowingTilesUnlessTheLevelResets) {
    struct Case {
        const char* level;
        bool read;
        bool freed;
    };
    for (const Case& c : {Case{"fixture_mine", true, true}, Case{"fixture_reset", true, false},
                          Case{"fixture_cave", false, false}}) {
        SCOPED_TRACE(c.level);
        start(HarnessOptions(1, c.level));
        changeLevel("fixture_deep");
        // A guard standing in the moss at (6, 7); one half below the last row, over the
        // bedrock corner; one far left of the level, in column -12 of row 8, whose cell
        // index would wrap round onto the lichen at (8, 7) if it were not clipped.
        GameObject* inMoss = storedGuard({260, 316});
        seams().storedObjects = {inMoss, storedGuard({-4, 410}), storedGuard({-460, 350})};
        changeLevel(c.level);
        EXPECT_EQ(seams().count("WorldPersistence.readEntities"), c.read ? 1u : 0u);
        EXPECT_EQ(inMoss->alive() && world().findEntity(inMoss->id()) == inMoss, c.read);
        const bool mossSolid = (*world().level->tileMap->cell(6, 7) & TileBits::Solid) != 0;
        EXPECT_EQ(mossSolid, !c.freed);
        EXPECT_EQ(harness->objects().regenerationQueue().size(), c.freed ? 1u : 0u);
        if (c.freed) {
            EXPECT_LT(harness->objects().regenerationQueue().front().dueTime, 2.0f);
        }
        EXPECT_TRUE(*world().level->tileMap->cell(0, 9) & TileBits::Solid);
        EXPECT_TRUE(*world().level->tileMap->cell(8, 7) & TileBits::Solid);
        // Not read: still the test's.
        for (GameObject* left : seams().storedObjects) delete left;
        seams().storedObjects.clear();
    }
}

TEST_F(LevelFlowTest, StoredEntitiesThatCannotBeReadLeaveTheLevelWithoutThem) {
    start();
    changeLevel("fixture_deep");
    GameObject* guard = storedGuard({500, 316});
    const std::int32_t guardId = guard->id();
    seams().storedObjects = {guard};
    seams().readFailure = true;
    changeLevel("fixture_mine");
    EXPECT_EQ(world().findEntity(guardId), nullptr);
    ASSERT_NE(world().player(), nullptr);
}

TEST_F(LevelFlowTest, SavesComeWithSaveOnEnterAndSaveOnLeaveButNeverAtTheFirstBuildOrInADemo) {
    struct Case {
        const char* to;
        std::size_t saves;
    };
    start(HarnessOptions(1, "fixture_town"));  // SaveOnEnter, but the first build
    EXPECT_EQ(seams().count("WorldPersistence.save"), 0u);
    for (const Case& c : {Case{"fixture_mine", 0}, Case{"fixture_deep", 1} /* mine's SaveOnLeave */,
                          Case{"fixture_town", 1} /* SaveOnEnter */, Case{"fixture_deep", 0}}) {
        SCOPED_TRACE(c.to);
        seams().calls.clear();
        harness->recordings().calls.clear();
        changeLevel(c.to);
        EXPECT_EQ(seams().count("WorldPersistence.save"), c.saves);
        EXPECT_EQ(calls("UserInterface.showSavedGameNotice"), c.saves);
    }
    world().demo = true;
    seams().calls.clear();
    changeLevel("fixture_town");
    EXPECT_EQ(seams().count("WorldPersistence.save"), 0u);
    world().saveRequested.fireNoArgs();
    EXPECT_EQ(seams().count("WorldPersistence.save"), 0u);
    world().demo = false;
    world().saveRequested.fireNoArgs();
    EXPECT_EQ(seams().count("WorldPersistence.save"), 1u);
}

TEST_F(LevelFlowTest, ASaveThatFailsOnTheWayIntoALevelIsLoggedAndTheLevelEntered) {
    test::LogCapture log;
    start();
    seams().saveFailure = "Failed to write savegame!";
    changeLevel("fixture_deep");
    EXPECT_EQ(seams().count("WorldPersistence.save"), 1u);
    EXPECT_EQ(calls("UserInterface.showSavedGameNotice"), 0u);
    ASSERT_EQ(log.errors.size(), 1u);
    EXPECT_NE(log.errors[0].find("Failed to write savegame!"), std::string::npos) << log.errors[0];
    EXPECT_FALSE(harness->game().levelBuildRunning());
    // The next save point tries again.
    seams().saveFailure.clear();
    changeLevel("fixture_town");
    EXPECT_EQ(seams().count("WorldPersistence.save"), 2u);
    EXPECT_EQ(calls("UserInterface.showSavedGameNotice"), 1u);
}

TEST_F(LevelFlowTest, TheBuildsInterfaceFileAndSettingWorkWaitsForTheHandBackInOrder) {
    start();
    settings().setValue("Profile.FirstDeath", 1);
    world().progress.items.counts["pickaxe_pre"] = 1;
    seams().hardnessTierDepth = 3.0f;
    harness->objects().killActor(player());  // dies in the mine, which saves when left
    simulator().requestLevel("fixture_deep", Simulator::StartEntry, fpVector2());
    while (!harness->game().levelBuildRunning()) harness->runSteps(1);
    std::vector<std::string> atLevelReady;
    EventConnection ready = world().levelReady.connect(
        &atLevelReady, [](std::vector<std::string>* seen) { seen->push_back("levelReady"); });
    harness->recordings().calls.clear();
    seams().calls.clear();

    harness->workerQueue().drain();
    EXPECT_EQ(world().level->name, "fixture_deep");
    EXPECT_EQ(harness->recordings().calls, std::vector<std::string>{"ScriptSimulator.build"})
        << "the worker touched the interface";
    harness->recordings().calls.clear();
    EXPECT_EQ(seams().count("WorldPersistence.save"), 0u);
    EXPECT_TRUE(settings().getBool("Profile.FirstDeath"));
    EXPECT_TRUE(atLevelReady.empty());

    harness->mainQueue().drain();
    EXPECT_EQ(harness->recordings().calls,
              (std::vector<std::string>{"UserInterface.setMapCellSystem", "UserInterface.startConversation death_first",
                                        "UserInterface.showSavedGameNotice", "UserInterface.addMapTierDepth 0",
                                        "UserInterface.addMapTierDepth 3", "UserInterface.addMapTierDepth 6",
                                        "UserInterface.addMapTierDepth 9", "UserInterface.addMapTierDepth 12"}));
    EXPECT_EQ(seams().count("WorldPersistence.save"), 1u);
    EXPECT_FALSE(settings().getBool("Profile.FirstDeath"));
    EXPECT_EQ(atLevelReady, (std::vector<std::string>{"levelReady"}));
}

TEST_F(LevelFlowTest, MapTierDepthsNeedThePickaxeAndALevelBelowTheSurfaceOutsideCaves) {
    struct Case {
        const char* level;
        bool pickaxe;
        float tierDepth;  // 0: the default, no tier within any level
        std::size_t depths;
    };
    for (const Case& c : {Case{"fixture_deep", true, 3.0f, 5}, Case{"fixture_deep", false, 3.0f, 0},
                          Case{"fixture_town", true, 3.0f, 0}, Case{"fixture_cave", true, 3.0f, 0},
                          Case{"fixture_deep", true, 0.0f, 0}, Case{"fixture_deep", true, 20.0f, 2}}) {
        SCOPED_TRACE(std::string(c.level) + " tier depth " + std::to_string(c.tierDepth));
        start();
        if (c.pickaxe) world().progress.items.counts["pickaxe_pre"] = 1;
        seams().hardnessTierDepth = c.tierDepth;
        changeLevel(c.level);
        EXPECT_EQ(calls("UserInterface.addMapTierDepth"), c.depths);
    }
}

TEST_F(LevelFlowTest, TheStartsDebugRequestsMoveThePlayerAndGiveItems) {
    struct Case {
        fpVector2 forced;
        fpVector2 expected;
    };
    for (const Case& c : {Case{{300, 0}, {120, 320}}, Case{{0, 200}, {120, 320}}, Case{{300, 200}, {300, 200}}}) {
        SCOPED_TRACE(c.forced);
        HarnessOptions options;
        options.start.forcedStartPosition = c.forced;
        start(options);
        EXPECT_EQ(player().getPosition(), c.expected);
        EXPECT_TRUE(seams().startingWith("GameRules.onItemGained").empty());
    }
    HarnessOptions options;
    options.start.giveBaseItems = true;
    start(options);
    const ItemCountMap& items = world().progress.items;
    for (const char* item : {"pickaxe", "pickaxe_pre", "enable_charge_jump", "enable_run"})
        EXPECT_EQ(itemCount(item, items), 1) << item;
    EXPECT_EQ(itemCount("jump_plate", items), 2);
    EXPECT_EQ(seams().count("GameRules.onItemGained "), 1u);
}

TEST_F(LevelFlowTest, AForcedStartPositionOutsideTheLevelIsClampedIntoItWithAWarning) {
    test::LogCapture log;
    HarnessOptions options;
    options.start.forcedStartPosition = fpVector2(-500.0f, 9e6f);
    start(options);
    const Level& level = *world().level;
    EXPECT_EQ(player().getPosition(), fpVector2(0.0f, float(level.height) * TileSize - 1.0f));
    ASSERT_EQ(log.warnings.size(), 1u);
    EXPECT_NE(log.warnings[0].find("Debug.ForceStartPosition"), std::string::npos) << log.warnings[0];
}

TEST_F(LevelFlowTest, TheForcedPatchDisablesSavesAndBuildsItsPatchOrStartsNormally) {
    struct Case {
        const char* request;
        const char* level;  // the name of the level played; empty for the patch level
        bool warned;
    };
    for (const Case& c : {Case{"deep_room;hall", "", false}, Case{"deep_room", "fixture_mine", true},
                          Case{"deep_room;hall;extra", "fixture_mine", true},
                          Case{"no_set;no_patch", "fixture_mine", true}}) {
        SCOPED_TRACE(c.request);
        test::LogCapture log;
        HarnessOptions options;
        options.start.forcedPatch = c.request;
        start(options);
        EXPECT_TRUE(settings().getBool("World.DisableSaves"));
        EXPECT_EQ(world().level->name, c.level);
        EXPECT_EQ(log.warnings.size(), c.warned ? 1u : 0u);
        EXPECT_NE(world().player(), nullptr);
        if (!*c.level) {
            EXPECT_EQ(world().level->width, 20);
            EXPECT_EQ(seams().count("WorldPersistence.writeEntities 1"), 0u) << "no checkpoint";
        }
    }
}

TEST_F(LevelFlowTest, ASetLevelIsUsedOnceThenTheRespawnLevel) {
    start();
    settings().setValue("Debug.SetLevel", std::string("fixture_deep"));
    dieAndContinue();
    EXPECT_EQ(world().level->name, "fixture_deep");
    EXPECT_EQ(settings().getString("Debug.SetLevel"), "");
    dieAndContinue();
    EXPECT_EQ(world().level->name, "fixture_town");
}

TEST_F(LevelFlowTest, TakingThePlayStartSelectsTheSlotAndResetsTheOneShotSettings) {
    start();  // declares the settings
    settings().setValue("Debug.SetLevel", std::string("fixture_deep"));
    settings().setValue("Debug.ForceSpecificPatch", std::string("deep_room;hall"));
    settings().setValue("Debug.ForceStartPosition", fpVector2(5, 6));
    settings().setValue("Debug.GiveBaseItems", 1);
    settings().setValue("Profile.RespawnLevel", std::string("fixture_deep"));
    GameSession session;
    const PlayStart taken = takePlayStart(&session);
    EXPECT_EQ(taken.setLevel, "fixture_deep");
    EXPECT_EQ(taken.forcedPatch, "deep_room;hall");
    EXPECT_EQ(taken.forcedStartPosition, fpVector2(5, 6));
    EXPECT_TRUE(taken.giveBaseItems);
    EXPECT_EQ(takePlayStart(nullptr).setLevel, "");
    EXPECT_EQ(takePlayStart(nullptr).forcedStartPosition, fpVector2());
    EXPECT_FALSE(takePlayStart(nullptr).giveBaseItems);
    // A slot that did not exist exists now, with its profile settings at their defaults.
    EXPECT_TRUE(session.currentSlot().exists);
    EXPECT_EQ(settings().getString("Profile.RespawnLevel"), "fixture_town");
}

TEST_F(LevelFlowTest, TheSlotCountsPlayTimeAndDepthExceptDuringAGameOver) {
    HarnessOptions options;
    options.withSession = true;
    start(options);
    harness->runSteps(60);
    GameSession::ProfileSlot& slot = harness->session()->currentSlot();
    EXPECT_NEAR(slot.timePlayed, 1.0, 1e-4);
    EXPECT_EQ(slot.maxDepth, 8) << "the player stands in row 8 of a level starting at depth 0";
    simulator().showGameOver(0);
    harness->runSteps(30);
    EXPECT_NEAR(slot.timePlayed, 1.0, 1e-4);
}

TEST_F(LevelFlowTest, ADemoStartsWithItsProgressInItsLevelAndItsQuestWhenThereIsOne) {
    start();
    harness->runSteps(20);
    const bool fewQuests = questRegistry().definitions().size() <= 16;
    ASSERT_TRUE(fewQuests) << "the fixture has no quests: the demo's quest is skipped first";
    world().restartRequested.fireNoArgs();
    harness->runSteps(20);
    ASSERT_TRUE(world().demo);
    EXPECT_EQ(world().level->name, "deepvault");
    EXPECT_EQ(world().progress.cash, 500);
    EXPECT_EQ(world().progress.orbs, 5);
    EXPECT_EQ(world().progress.experience, 1500);
    EXPECT_EQ(itemCount("pickaxe_1", world().progress.items), 4);
    EXPECT_EQ(itemCount("enable_tube_quellox", world().progress.items), 1);
    EXPECT_EQ(seams().count("GameRules.onItemGained "), 1u);
    EXPECT_TRUE(seams().startingWith("QuestTracking.startQuest").empty());
    EXPECT_EQ(settings().getString("Debug.SetLevel"), "shalebury");

    std::string quests;
    for (int i = 0; i < 17; ++i)
        quests += "<Quest><Name>demo_q" + std::to_string(i) + "</Name><Goal Type=\"Scripted\"/></Quest>";
    test::addDefinitions(questRegistry(), "demo quests", quests);
    world().restartRequested.fireNoArgs();
    harness->runSteps(20);
    EXPECT_EQ(seams().startingWith("QuestTracking.startQuest"), (std::vector<std::string>{"QuestTracking.startQuest 16"}));
    EXPECT_EQ(world().progress.questIndex, 16);
}

} // namespace
} // namespace zor
