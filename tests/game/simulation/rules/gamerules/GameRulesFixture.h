#pragma once
// Harness games that play by the game's own rules, over small data of their own:
//
//   experience  level 0 at 0, 1 at 100, 2 at 300 (shop unlock "unlock_tubes": camera to
//               (320, 180), item "tube_pass"), 3 at 600, the last
//   upgrades    "lamp_kit" and "boots_kit" need level 1, "drill_kit" level 2; Limit 2 each
//   items       ore_00 worth 10, ore_12 worth 25, ore_20 worth 40, nugget worth 7
//   talks       "weigh_in" (a prospector) and "small_talk"
//   quests      HaveGold 100, HaveGold 200, Scripted

#include "game/definitions/ConversationDefinition.h"
#include "game/definitions/ExperienceDefinition.h"
#include "game/definitions/InventoryItemDefinition.h"
#include "game/definitions/QuestDefinition.h"
#include "game/definitions/UpgradeDefinition.h"
#include "game/simulation/Simulator.h"
#include "game/world/World.h"

#include "Framework/store/AchievementStore.h"
#include "tests/support/game/FixtureDefinitions.h"
#include "tests/support/game/GameHarness.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace zor::test {

inline void loadGameRulesDefinitions() {
    static const bool loaded = [] {
        loadFixtureDefinitions();
        addDefinitions(experienceRegistry(), "rules experience", R"(
          <Levels><Name>AllLevels</Name><Exp>0, 100, 300, 600</Exp>
            <SpecialUnlocks><Unlock><Level>2</Level><Name>unlock_tubes</Name>
              <CameraTarget>320;180</CameraTarget><UpgradeName>tube_pass</UpgradeName></Unlock></SpecialUnlocks>
          </Levels>)");
        addDefinitions(upgradeRegistry(), "rules upgrades", R"(
          <Upgrade><Name>lamp_kit</Name><TitleStringId>title_lamp_kit</TitleStringId><Limit>2</Limit>
            <LevelRequired>1</LevelRequired></Upgrade>
          <Upgrade><Name>boots_kit</Name><TitleStringId>title_boots_kit</TitleStringId><Limit>2</Limit>
            <LevelRequired>1</LevelRequired></Upgrade>
          <Upgrade><Name>drill_kit</Name><TitleStringId>title_drill_kit</TitleStringId><Limit>2</Limit>
            <LevelRequired>2</LevelRequired></Upgrade>)");
        addDefinitions(inventoryItemRegistry(), "rules items", R"(
          <InventoryItem><Name>ore_00</Name><Value>10</Value><MaxCountPerStack>99</MaxCountPerStack></InventoryItem>
          <InventoryItem><Name>ore_12</Name><Value>25</Value><MaxCountPerStack>99</MaxCountPerStack></InventoryItem>
          <InventoryItem><Name>ore_20</Name><Value>40</Value><MaxCountPerStack>99</MaxCountPerStack></InventoryItem>
          <InventoryItem><Name>nugget</Name><Value>7</Value></InventoryItem>)");
        addDefinitions(conversationRegistry(), "rules conversations", R"(
          <Conversation><Name>weigh_in</Name><Prospector>true</Prospector>
            <Dialog><Entry><Speaker>miner</Speaker><Text>talk_weigh</Text></Entry></Dialog></Conversation>
          <Conversation><Name>small_talk</Name>
            <Dialog><Entry><Speaker>miner</Speaker><Text>talk_small</Text></Entry></Dialog></Conversation>)");
        addDefinitions(questRegistry(), "rules quests", R"(
          <Quest><Name>rules_gold_100</Name><Goal Type="HaveGold" Value="100"/></Quest>
          <Quest><Name>rules_gold_200</Name><Goal Type="HaveGold" Value="200"/></Quest>
          <Quest><Name>rules_scripted</Name><Goal Type="Scripted"/></Quest>)");
        return true;
    }();
    (void)loaded;
}

// The counters of the game rules as the shipped achievements define them.
inline void defineRuleCounters() {
    AchievementFile file;
    for (const char* name : {"cntr_mireth", "cntr_deep_vault", "cntr_quellox", "cntr_sell_resources_mireth",
                             "cntr_sell_resources_deepvault", "cntr_sell_resources_quellox"})
        file.counters.push_back({name, AchievementCounterAdd, false});
    file.counters.push_back({"cntr_fully_loaded", AchievementCounterMaximum, false});
    localAchievements().define(file);
}

inline std::int32_t counterValue(const std::string& name) {
    const AchievementCounter* counter = localAchievements().findCounter(name);
    return counter ? counter->value : -1;
}

class GameRulesTest : public ::testing::Test {
protected:
    void SetUp() override {
        loadGameRulesDefinitions();
        defineRuleCounters();
        HarnessOptions options;
        options.gameRules = true;
        options.withSession = true;
        harness = std::make_unique<GameHarness>(options);
        // Past the first level's fade-in.
        harness->runSteps(5);
    }

    World& world() { return harness->world(); }
    Simulator& simulator() { return harness->simulator(); }
    RecordingUserInterface& userInterface() { return harness->userInterface(); }
    std::vector<std::string> uiCalls(const std::string& prefix) {
        return harness->recordings().callsStartingWith("UserInterface." + prefix);
    }
    void carry(const std::vector<InventorySlot>& slots) {
        world().progress.inventory.slots = slots;
        world().progress.inventory.capacity = std::int32_t(slots.size());
    }

    std::unique_ptr<GameHarness> harness;
};

} // namespace zor::test
