// The whole game on the sample data, played as a player would, with the save slot's files in
// a user folder of its own: a new slot in the town, down into the mine, digging, a deadly
// fall, the wake in the town, the way back for the lost bag, a sale, an upgrade, quitting,
// and a new game that finds everything as it was saved.
//
// The player walks, jumps, digs and uses exits and townsfolk with its buttons. It is put by
// hand only where the way is long or closed: next to the bag at the bottom of the shaft it
// died in, and from there back at the mine's way up to the town.

#include "game/definitions/ActorDefinition.h"
#include "game/simulation/Game.h"
#include "game/simulation/GameObjectSimulator.h"
#include "game/simulation/GameSession.h"
#include "game/simulation/Simulator.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/entity/ExitObject.h"
#include "game/world/entity/ResourceObject.h"
#include "game/world/progress/ItemCountMap.h"

#include "Framework/core/debug/DebugFlags.h"
#include "Framework/core/io/Files.h"
#include "Framework/core/settings/SettingsHandler.h"
#include "Framework/store/AchievementStore.h"

#include "tests/support/common/TempFolder.h"
#include "tests/support/game/ActingUserInterface.h"
#include "tests/support/game/GameHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace zor {
namespace {

using test::GameHarness;
using test::HarnessOptions;

constexpr int StepsPerSecond = 60;
// The ore under and beside the mine's arrival, and the deadly shaft's first column.
const iVector2 OreBelow(18, 3);
const iVector2 OreBeside(19, 3);
constexpr float ShaftLeft = 920.0f;

using Counts = std::map<std::string, std::int32_t>;

Counts carried(const PlayerProgress& progress) {
    Counts counts;
    for (const InventorySlot& slot : progress.inventory.slots) counts[slot.itemName] += slot.count;
    return counts;
}

std::vector<bool> solidCells(const std::vector<std::uint8_t>& grid) {
    std::vector<bool> solid;
    for (std::uint8_t cell : grid) solid.push_back((cell & TileBits::Solid) != 0);
    return solid;
}

Counts owned(const PlayerProgress& progress) {
    return Counts(progress.items.counts.begin(), progress.items.counts.end());
}

// What a game keeps of its player between sessions.
struct SavedGame {
    std::int32_t cash = 0;
    std::int32_t orbs = 0;
    std::int32_t experience = 0;
    Counts carried;
    Counts owned;
    std::vector<std::uint8_t> mineCells;
    GameSession::ProfileSlot slot;
};

class WholeGame : public ::testing::Test {
protected:
    // The user folder is taken when the file system starts, perhaps by an earlier test.
    void SetUp() override { initFileSystem("BundlePC"); }
    void TearDown() override { harness.reset(); }

    // A game of the slot in the user folder, with every rule of the game playing and the
    // screens answering as they will; it starts where the program would.
    void startGame() {
        harness.reset();
        HarnessOptions options(17, "");
        options.sampleData = true;
        options.withSession = true;
        options.loadSession = true;
        options.gameRules = true;
        options.saveFiles = true;
        options.gameMovement = true;
        options.gameContacts = true;
        options.actingScreens = true;
        harness = std::make_unique<GameHarness>(options);
        harness->seams().playLifeRules = true;
        // Every step adds to the time played.
        slotAtStart = harness->session()->currentSlot();
        ASSERT_TRUE(harness->runUntil([&] { return harness->game().fadeOver(); }, 1));
    }

    World& world() { return harness->world(); }
    ActorObject& player() { return *world().player(); }
    const std::string& levelName() { return world().level->name; }
    std::size_t saves() { return harness->seams().count("WorldPersistence.save"); }
    bool solid(const iVector2& cell) { return (*world().level->tileMap->cellAt(cell) & TileBits::Solid) != 0; }
    std::int32_t counter(const std::string& name) {
        const AchievementCounter* found = localAchievements().findCounter(name);
        return found ? found->value : 0;
    }
    bool arrivedAt(const std::string& entry) {
        const LevelMarker& marker = world().level->markers.at(entry).front();
        const fpVector2 at = player().getPosition();
        return at.x == marker.x && at.y >= marker.y && at.y <= marker.y + 16.0f;
    }

    bool standing() { return player().groundState != 0 && player().physicalObject.velocity == fpVector2(); }
    bool waitForLevel(const std::string& level) {
        return harness->runUntil(
            [&] {
                return !harness->simulator().levelChangePending() && !harness->game().levelBuildRunning() &&
                       levelName() == level && harness->game().fadeOver();
            },
            5);
    }
    void tap(const std::string& button) {
        harness->press(button);
        harness->runSteps(1);
        harness->release(button);
    }
    const ExitObject* exitTo(const std::string& level) {
        for (const auto& [id, exit] : world().exits())
            if (exit->link->targetLevel == level) return exit;
        return nullptr;
    }
    // Walks toward the exit or townsperson, jumping up the steps it runs into, until the
    // player may use it; once the player stands still and may still use it, activates it.
    // Townsfolk stroll, so that may take more than one approach.
    bool activate(std::int32_t targetId) {
        for (int approach = 0; approach < 4; ++approach) {
            const Entity* target = world().findEntity(targetId);
            if (!target) return false;
            walkUntilActivatable(target->getPosition().x < player().getPosition().x ? "move_left" : "move_right",
                                 targetId);
            if (!harness->runUntil([&] { return standing(); }, 2)) return false;
            if (player().activationTargetId == targetId) {
                tap("activate");
                return true;
            }
        }
        return false;
    }
    void walkUntilActivatable(const std::string& button, std::int32_t targetId) {
        harness->press(button);
        int jumpSteps = 0;  // left of the held jump
        float lastX = player().getPosition().x;
        for (int step = 0; step < 20 * StepsPerSecond && player().activationTargetId != targetId; ++step) {
            harness->runSteps(1);
            if (jumpSteps > 0 && --jumpSteps == 0) harness->release("jump");
            if (jumpSteps == 0 && player().groundState != 0 && player().getPosition().x == lastX) {
                harness->press("jump");
                jumpSteps = StepsPerSecond / 3;
            }
            lastX = player().getPosition().x;
        }
        harness->release("jump");
        harness->release(button);
    }
    bool walkOutThrough(const std::string& level) {
        const ExitObject* exit = exitTo(level);
        return exit && activate(exit->id()) && waitForLevel(level);
    }
    // Swings the pick toward the cell, holding the direction, until the cell breaks.
    bool dig(const iVector2& cell, const std::string& direction) {
        harness->press(direction);
        for (int swing = 0; swing < 10 && solid(cell); ++swing) {
            tap("attack");
            harness->runSteps(StepsPerSecond / 2);
        }
        harness->release(direction);
        return !solid(cell);
    }
    ResourceObject* lootBag() {
        for (const auto& [id, object] : world().gameObjects())
            if (object->alive() && object->gameObjectDefinition().name == "loot_bag")
                return static_cast<ResourceObject*>(object);
        return nullptr;
    }
    SavedGame snapshot() {
        const PlayerProgress& progress = world().saveState.progress;
        return {progress.cash,
                progress.orbs,
                progress.experience,
                carried(progress),
                owned(progress),
                world().saveState.levels.at("mine1")->tileMap->data(),
                harness->session()->currentSlot()};
    }

    GameSession::ProfileSlot slotAtStart;
    // Gone last: later tests of the program find their own user folder again.
    struct ProgramUserFolder {
        ~ProgramUserFolder() { initFileSystem("BundlePC"); }
    } programUserFolder;
    test::TempFolder user;
    test::ScopedEnv userDir{"ZOR_USER_DIR", user.path().string()};
    std::unique_ptr<GameHarness> harness;
};

TEST_F(WholeGame, FromTheTownDownTheMineDeadAndBackToSellBuyQuitAndContinue) {
    // A new slot starts in the town at its start, whole.
    startGame();
    ASSERT_EQ(levelName(), "shalebury");
    EXPECT_TRUE(arrivedAt("[start]")) << player().getPosition();
    EXPECT_EQ(player().hitPoints, player().definition().hitPoints);
    EXPECT_EQ(player().lightTime, player().definition().lightTime);
    EXPECT_TRUE(harness->session()->currentSlot().exists);

    // Money from the debug command buys the first pick upgrade, as the shop sells it: the
    // pick digs properly from now on and a death costs half the money.
    *findDebugFlag("game", "cash") = true;
    harness->runSteps(1);
    ASSERT_EQ(world().progress.cash, 1000);
    const std::size_t savesBeforeBuying = saves();
    ASSERT_TRUE(test::buyUpgrade(world(), "pickaxe_pre"));
    EXPECT_EQ(world().progress.cash, 940);
    EXPECT_EQ(saves(), savesBeforeBuying + 1);
    EXPECT_TRUE(std::filesystem::exists(user / "savegame_0.dat"));

    // Walking to the hatch and activating it leads down into the mine: the town is left with
    // a checkpoint, the mine's first visit takes one, and neither level asks for a save.
    const std::size_t savesInTown = saves();
    ASSERT_TRUE(walkOutThrough("mine1")) << player().getPosition();
    EXPECT_TRUE(arrivedAt("[start]")) << player().getPosition();
    EXPECT_EQ(world().saveState.levels.count("shalebury"), 1u);
    EXPECT_EQ(solidCells(world().saveState.levels.at("mine1")->tileMap->data()),
              solidCells(world().level->tileMap->data()));
    EXPECT_EQ(world().saveState.progress.cash, 940);
    EXPECT_EQ(saves(), savesInTown);

    // The pick breaks the floor below and the wall beside; each break counts, and the ore in
    // them lands in the carried slots.
    const std::int32_t blocksBroken = counter("cntr_destroy_blocks");
    ASSERT_TRUE(harness->runUntil([&] { return standing(); }, 2));
    ASSERT_TRUE(dig(OreBelow, "move_down"));
    ASSERT_TRUE(harness->runUntil([&] { return standing(); }, 2)) << "dropped into the hole";
    ASSERT_TRUE(dig(OreBeside, "move_right"));
    ASSERT_TRUE(harness->runUntil([&] { return carried(world().progress).size() == 2; }, 3));
    EXPECT_EQ(counter("cntr_destroy_blocks"), blocksBroken + 2);
    const Counts ore{{"copper_ore", 1}, {"tin_ore", 1}};
    EXPECT_EQ(carried(world().progress), ore);

    // Out of the hole and on to the right, into the shaft: the fall kills. The game over shows
    // the loss of half the money, and the ore lies in the bag at the bottom.
    harness->press("move_right");
    harness->press("jump");
    harness->runSteps(StepsPerSecond / 3);
    harness->release("jump");
    ASSERT_TRUE(harness->runUntil([&] { return player().getPosition().x > ShaftLeft + 30.0f; }, 3)) << player().getPosition();
    harness->release("move_right");
    const std::size_t deaths = harness->session()->currentSlot().deaths;
    ASSERT_TRUE(harness->runUntil([&] { return harness->simulator().gameOver(); }, 5)) << player().getPosition();
    EXPECT_FALSE(player().isAlive());
    EXPECT_EQ(world().progress.lastDeathCause, "fall");
    EXPECT_EQ(harness->recordings().callsStartingWith("UserInterface.showGameOver"),
              std::vector<std::string>{"UserInterface.showGameOver 470"});
    EXPECT_EQ(world().progress.cash, 470);
    EXPECT_EQ(harness->session()->currentSlot().deaths, std::int32_t(deaths) + 1);
    EXPECT_TRUE(world().progress.inventory.slots.empty());
    ResourceObject* bag = lootBag();
    ASSERT_NE(bag, nullptr);
    EXPECT_EQ(bag->contents.countOf("copper_ore"), 1);
    EXPECT_EQ(bag->contents.countOf("tin_ore"), 1);

    // The screen's continue wakes the player in the town: health min(maximum, 2), a full lamp,
    // no water, a ladder, and the talk of a first death.
    ASSERT_TRUE(waitForLevel("shalebury"));
    EXPECT_TRUE(arrivedAt("[start]")) << player().getPosition();
    EXPECT_EQ(player().hitPoints, std::min(player().definition().hitPoints, 2.0f));
    EXPECT_EQ(player().lightTime, player().definition().lightTime);
    EXPECT_NEAR(player().water, 0.0f, 0.02f) << "none but what it regained since";
    EXPECT_EQ(itemCount("ladder", world().progress.items), 1);
    EXPECT_EQ(harness->recordings().callsStartingWith("UserInterface.startConversation"),
              std::vector<std::string>{"UserInterface.startConversation death_first"});
    EXPECT_FALSE(SettingsHandler::instance().getBool("Profile.FirstDeath"));

    // Back in the mine the dug cells are open, and the bag at the bottom of the shaft is
    // picked up with everything in it.
    ASSERT_TRUE(walkOutThrough("mine1")) << player().getPosition();
    EXPECT_FALSE(solid(OreBelow));
    EXPECT_FALSE(solid(OreBeside));
    bag = lootBag();
    ASSERT_NE(bag, nullptr) << "the bag was kept with the mine";
    player().setPosition(bag->getPosition() + fpVector2(0.0f, -40.0f));
    ASSERT_TRUE(harness->runUntil([&] { return lootBag() == nullptr; }, 3));
    EXPECT_EQ(carried(world().progress), ore);

    // Up to the town: leaving the mine saves.
    const std::size_t savesInMine = saves();
    const ExitObject* wayUp = exitTo("shalebury");
    ASSERT_NE(wayUp, nullptr);
    player().setPosition(wayUp->getPosition() + fpVector2(0.0f, 30.0f));
    ASSERT_TRUE(harness->runUntil([&] { return standing(); }, 2));
    tap("activate");
    ASSERT_TRUE(waitForLevel("shalebury"));
    EXPECT_EQ(saves(), savesInMine + 1);

    // The prospector buys the ore when her talk ends: as much experience as money, and a save.
    const std::int32_t value = std::int32_t(world().progress.inventory.totalValue());
    EXPECT_EQ(value, 4 + 7);
    const std::int32_t cash = world().progress.cash;
    const std::int32_t experience = world().progress.experience;
    const std::size_t savesBeforeSale = saves();
    const ActorObject* isolde = nullptr;
    for (const auto& [id, object] : world().gameObjects())
        if (object->gameObjectDefinition().name == "isolde") isolde = static_cast<const ActorObject*>(object);
    ASSERT_NE(isolde, nullptr);
    ASSERT_TRUE(activate(isolde->id()));
    ASSERT_TRUE(harness->runUntil([&] { return harness->simulator().saleRunning(); }, 1));
    ASSERT_TRUE(harness->runUntil([&] { return !harness->simulator().saleRunning(); }, 30));
    EXPECT_TRUE(world().progress.inventory.slots.empty());
    EXPECT_EQ(world().progress.cash - cash, value);
    EXPECT_EQ(world().progress.experience - experience, value);
    EXPECT_EQ(saves(), savesBeforeSale + 1);

    // Armour bought as the shop sells it raises and fills the player's health, and saves.
    const float health = player().definition().hitPoints;
    const std::size_t savesBeforeArmour = saves();
    ASSERT_TRUE(test::buyUpgrade(world(), "armor_1"));
    EXPECT_EQ(player().definition().hitPoints, health + 1.0f);
    EXPECT_EQ(player().hitPoints, health + 1.0f);
    EXPECT_EQ(world().progress.cash, 470 + value - 200);
    EXPECT_EQ(saves(), savesBeforeArmour + 1);
    const SavedGame saved = snapshot();

    // Quit, and a new game of the slot finds it all as it was saved.
    world().quitRequested.fireNoArgs();
    ASSERT_TRUE(harness->runUntil([&] { return harness->left(); }, 2));
    startGame();
    EXPECT_EQ(levelName(), "shalebury");
    const SavedGame loaded = snapshot();
    EXPECT_EQ(loaded.cash, saved.cash);
    EXPECT_EQ(loaded.orbs, saved.orbs);
    EXPECT_EQ(loaded.experience, saved.experience);
    EXPECT_EQ(loaded.carried, saved.carried);
    EXPECT_EQ(loaded.owned, saved.owned);
    EXPECT_EQ(loaded.mineCells, saved.mineCells);
    EXPECT_EQ(slotAtStart, saved.slot);
    EXPECT_EQ(world().progress.cash, saved.cash);
    EXPECT_EQ(player().definition().hitPoints, health + 1.0f) << "the armour is worn again";
    EXPECT_FALSE(SettingsHandler::instance().getBool("Profile.FirstDeath"));
    ASSERT_TRUE(walkOutThrough("mine1"));
    EXPECT_FALSE(solid(OreBelow));
    EXPECT_FALSE(solid(OreBeside));
}

} // namespace
} // namespace zor
