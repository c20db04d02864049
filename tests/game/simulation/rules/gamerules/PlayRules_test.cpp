// The game's rules for gained items, discards, the achievement counters, the debug
// commands of categories "game" and "upgrade", and the quest tracker in the Simulator's
// step, on harness games.

#include "tests/game/simulation/rules/gamerules/GameRulesFixture.h"

#include "game/definitions/ActorDefinition.h"
#include "game/world/entity/ActorObject.h"

#include "Framework/core/debug/DebugFlags.h"

#include <map>

namespace zor {
namespace {

class PlayRulesTest : public test::GameRulesTest {
protected:
    ItemCountMap& items() { return world().progress.items; }
    ActorObject& player() { return *world().player(); }

    // Requests the debug command and runs the step that serves it.
    void runDebugCommand(const char* category, const char* name) {
        DebugFlag* flag = findDebugFlag(category, name);
        ASSERT_NE(flag, nullptr) << category << " " << name;
        flag->store(true);
        harness->runSteps(1);
        EXPECT_FALSE(flag->load()) << "served once";
    }
};

TEST_F(PlayRulesTest, RegionCountersTakeOnlyTheirExactNames) {
    struct Case {
        const char* item;
        std::map<std::string, std::int32_t> counters;
    };
    const Case cases[] = {
        {"reached_mireth", {{"cntr_mireth", 1}, {"cntr_deep_vault", 0}, {"cntr_quellox", 0}}},
        {"reached_deep_vault", {{"cntr_mireth", 0}, {"cntr_deep_vault", 1}, {"cntr_quellox", 0}}},
        {"reached_quellox", {{"cntr_mireth", 0}, {"cntr_deep_vault", 0}, {"cntr_quellox", 1}}},
        {"reached_mireth_x", {{"cntr_mireth", 0}, {"cntr_deep_vault", 0}, {"cntr_quellox", 0}}},
        {"reached_deep", {{"cntr_mireth", 0}, {"cntr_deep_vault", 0}, {"cntr_quellox", 0}}},
        {"", {{"cntr_mireth", 0}, {"cntr_deep_vault", 0}, {"cntr_quellox", 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        test::defineRuleCounters();
        world().itemGained.fire(c.item);
        for (const auto& [counter, value] : c.counters) EXPECT_EQ(test::counterValue(counter), value) << counter;
    }
}

TEST_F(PlayRulesTest, TheFullLoadoutCounterGetsTheSumEachTimeAndItsModeDecides) {
    struct Case {
        const char* name;
        std::int32_t mode;
        std::int32_t afterEach[3];
    };
    // Owned: 2 of the loadout, then 3, then 1 again.
    const Case cases[] = {
        {"maximum", AchievementCounterMaximum, {2, 3, 3}},
        {"add", AchievementCounterAdd, {2, 5, 6}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AchievementFile file;
        file.counters.push_back({"cntr_fully_loaded", std::uint8_t(c.mode), false});
        localAchievements().define(file);
        items().counts = {{"punch_1", 1}, {"pouch_3", 1}, {"lamp_kit", 2}};
        world().itemGained.fire("pouch_3");
        EXPECT_EQ(test::counterValue("cntr_fully_loaded"), c.afterEach[0]);
        items().counts["drill_2"] = 1;
        world().itemGained.fire("drill_2");
        EXPECT_EQ(test::counterValue("cntr_fully_loaded"), c.afterEach[1]);
        items().counts = {{"armor_3", 1}};
        world().itemGained.fire("");
        EXPECT_EQ(test::counterValue("cntr_fully_loaded"), c.afterEach[2]);
    }
}

TEST_F(PlayRulesTest, AGainedItemUpgradesThePlayerAndThePouch) {
    const float hitPoints = player().definition().hitPoints;
    player().hitPoints = 1.0f;
    items().counts = {{"armor_1", 2}, {"pouch_1", 2}};
    world().itemGained.fire("armor_1");
    EXPECT_EQ(player().definition().hitPoints, hitPoints + 2.0f);
    EXPECT_EQ(player().hitPoints, hitPoints + 2.0f) << "a raised maximum fills up";
    EXPECT_EQ(world().progress.inventory.capacity, 5);
}

TEST_F(PlayRulesTest, ADiscardNeedsTheFirstPickaxeAndASlotOfTheList) {
    struct Case {
        const char* name;
        bool sharpened;
        std::int32_t slot;
        std::size_t slotsLeft;  // the inventory keeps its trailing filled slot
        bool discarded;
    };
    const Case cases[] = {
        {"middle slot", true, 1, 3, true},
        {"last slot", true, 2, 2, true},
        {"without pickaxe_pre", false, 1, 3, false},
        {"index below the list", true, -1, 3, false},
        {"index past the list", true, 3, 3, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        items().counts.clear();
        if (c.sharpened) items().counts["pickaxe_pre"] = 1;
        carry({{"ore_00", 1}, {"ore_12", 1}, {"ore_20", 1}});
        harness->recordings().cues.clear();
        int changes = 0;
        EventConnection changed = world().inventoryChanged.connect(&changes, [](int* count) { ++*count; });

        world().discardRequested.fire(c.slot);
        const std::vector<InventorySlot>& slots = world().progress.inventory.slots;
        EXPECT_EQ(slots.size(), c.slotsLeft);
        if (c.discarded && c.slot < std::int32_t(slots.size())) {
            EXPECT_TRUE(slots[std::size_t(c.slot)].itemName.empty());
        }
        EXPECT_EQ(changes, c.discarded ? 1 : 0);
        ASSERT_EQ(harness->recordings().cues.size(), c.discarded ? 1u : 0u);
        if (c.discarded) {
            const test::CuePlay& cue = harness->recordings().cues.front();
            EXPECT_EQ(cue.cue, "inventory_discard");
            EXPECT_FALSE(cue.position.has_value());
        }
    }
}

TEST_F(PlayRulesTest, EveryDebugCommandIsDeclaredUnderItsCategory) {
    const std::pair<const char*, const char*> commands[] = {
        {"game", "cash"},          {"game", "exp"},           {"upgrade", "upgradeAll"},
        {"upgrade", "upgradeNone"}, {"upgrade", "upgradeMireth"}, {"upgrade", "upgradeDeepvault"},
        {"upgrade", "upgradeQuellox"}, {"upgrade", "upgradeBoss"}, {"game", "questNext"},
        {"game", "questPrev"}};
    for (const auto& [category, name] : commands) EXPECT_NE(findDebugFlag(category, name), nullptr) << name;
}

TEST_F(PlayRulesTest, DebugCommandsSetTheirCounts) {
    struct Case {
        const char* command;
        std::map<std::string, std::int32_t> counts;  // expected counts; 0 for none
        std::int32_t experience;
        std::int32_t capacity;  // the pouches applied afterwards
    };
    const Case cases[] = {
        {"upgradeNone", {{"pickaxe_1", 0}, {"lamp_kit", 0}}, 0, 3},
        {"upgradeAll", {{"lamp_kit", 2}, {"boots_kit", 2}, {"drill_kit", 2}}, 0, 3},
        {"upgradeMireth", {{"reached_mireth", 1}, {"pickaxe_pre", 1}, {"pickaxe", 1}, {"reached_deep_vault", 0}}, 0, 3},
        {"upgradeDeepvault",
         {{"reached_deep_vault", 1}, {"enable_tube_deepvault", 1}, {"pickaxe_1", 4}, {"pouch_1", 2},
          {"experience_shop_1", 1}, {"reached_mireth", 1}, {"reached_quellox", 0}},
         1200, 5},
        {"upgradeQuellox",
         {{"reached_quellox", 1}, {"dynamite", 5}, {"pickaxe_2", 4}, {"pouch_1", 3}, {"pouch_2", 2}, {"drill_1", 2},
          {"enable_jump_double", 0}},
         5000, 8},
        // The Quellox set overrides the deep vault's pouch.
        {"upgradeBoss",
         {{"pickaxe_1", 4}, {"pouch_1", 3}, {"pickaxe_3", 3}, {"drill_2", 1}, {"enable_spark_run", 1},
          {"reached_mireth", 1}, {"water_3", 1}},
         12000, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        world().progress = PlayerProgress();
        items().counts["lamp_kit"] = 1;
        items().counts["pickaxe_1"] = 2;
        player().weaponIndex = 2;
        runDebugCommand("upgrade", c.command);
        for (const auto& [name, count] : c.counts) EXPECT_EQ(itemCount(name, items()), count) << name;
        EXPECT_EQ(world().progress.experience, c.experience);
        EXPECT_EQ(world().progress.inventory.capacity, c.capacity);
        if (std::string(c.command) != "upgradeAll") {
            EXPECT_EQ(player().weaponIndex, 0);
        }
    }
}

TEST_F(PlayRulesTest, DebugCommandsRaiseExperienceToAtLeastTheRegionsAndGiveMoney) {
    world().progress.experience = 20000;
    runDebugCommand("upgrade", "upgradeBoss");
    EXPECT_EQ(world().progress.experience, 20000);

    world().progress.cash = 5;
    world().progress.orbs = 1;
    runDebugCommand("game", "cash");
    EXPECT_EQ(world().progress.cash, 1005);
    EXPECT_EQ(world().progress.orbs, 11);
    runDebugCommand("game", "exp");
    EXPECT_EQ(world().progress.experience, 20100);
}

TEST_F(PlayRulesTest, TheQuestTrackerFollowsGoalsButNotWhileASaleRuns) {
    world().progress.questIndex = 0;
    world().progress.cash = 150;
    harness->runSteps(1);
    EXPECT_EQ(world().progress.questIndex, 1) << "100 gold held";

    carry({{"ore_20", 2}});
    simulator().sellInventory();
    for (int step = 0; step < 600 && world().progress.cash < 200; ++step) harness->runSteps(1);
    harness->runSteps(1);
    EXPECT_EQ(world().progress.questIndex, 1) << "the sale runs";
    for (int step = 0; step < 3600 && simulator().saleRunning(); ++step) harness->runSteps(1);
    harness->runSteps(1);
    EXPECT_EQ(world().progress.questIndex, 2);

    world().progress.questIndex = 0;
    world().progress.cash = 0;
    simulator().finishQuests();
    EXPECT_EQ(world().progress.questIndex, 2);
}

} // namespace
} // namespace zor
