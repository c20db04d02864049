// Selling on a harness game with fixed steps: the pace of the slots, money and experience,
// levels reached on the way with their banners and camera pan, the maximum level, tables
// without a span, empty slots, and the end with one save.

#include "tests/game/simulation/rules/gamerules/GameRulesFixture.h"

#include "game/simulation/GameSession.h"
#include "game/simulation/rules/Sale.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/entity/WorldText.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace zor {
namespace {

using test::GameHarness;

constexpr int MaxSaleSteps = 60 * 60;

class SaleTest : public test::GameRulesTest {
protected:
    ActorObject& player() { return *world().player(); }
    bool locked() { return (player().busyFlags & BusyFlag::Sale) != 0; }

    // Steps until the sale is over; the steps it took.
    int finishSale() {
        int steps = 0;
        while (simulator().saleRunning() && steps < MaxSaleSteps) {
            harness->runSteps(1);
            ++steps;
        }
        EXPECT_FALSE(simulator().saleRunning()) << "the sale never ended";
        return steps;
    }

    std::vector<std::string> cues(const std::string& cue) {
        std::vector<std::string> found;
        for (const SoundRequest& request : harness->recordings().soundRequests)
            if (request.cue == cue) found.push_back(cue);
        return found;
    }

    // The experience the banner showed last, from "setExpBannerProgress <experience> ...".
    float lastShownExperience() {
        const std::vector<std::string> calls = uiCalls("setExpBannerProgress");
        if (calls.empty()) return -1.0f;
        std::istringstream words(calls.back());
        std::string name;
        float experience = -1.0f;
        words >> name >> experience;
        return experience;
    }
};

TEST_F(SaleTest, FiveSlotsGoLastToFirstAfterTheStartAndTheMoneyBecomesExperience) {
    const std::vector<InventorySlot> slots = {
        {"ore_00", 3}, {"ore_12", 2}, {"ore_20", 1}, {"ore_00", 2}, {"ore_12", 1}};
    carry(slots);
    const std::size_t savesBefore = harness->seams().count("WorldPersistence.save");

    simulator().sellInventory();
    EXPECT_TRUE(locked());
    EXPECT_EQ(uiCalls("clearInventorySelection").size(), 1u);
    EXPECT_EQ(uiCalls("showExpBanner").size(), 1u);
    EXPECT_EQ(test::counterValue("cntr_sell_resources_mireth"), 5);
    EXPECT_EQ(test::counterValue("cntr_sell_resources_deepvault"), 3);
    EXPECT_EQ(test::counterValue("cntr_sell_resources_quellox"), 1);

    // The step on which each slot went, and which one it was.
    std::vector<int> soldAt;
    int step = 0;
    while (!world().progress.inventory.slots.empty() && step < MaxSaleSteps) {
        harness->runSteps(1);
        ++step;
        const std::vector<InventorySlot>& left = world().progress.inventory.slots;
        if (left.size() + soldAt.size() < slots.size()) {
            soldAt.push_back(step);
            ASSERT_EQ(left.size(), slots.size() - soldAt.size()) << "one slot a step";
            for (std::size_t i = 0; i < left.size(); ++i)
                EXPECT_EQ(left[i].itemName, slots[i].itemName) << "the last slot goes first";
        }
    }
    ASSERT_EQ(soldAt.size(), 5u);
    const float step60 = GameHarness::StepLength;
    EXPECT_NEAR(soldAt[0] * step60, 0.5f, 1.5f * step60) << "the first slot after half a second";
    for (std::size_t i = 1; i < soldAt.size(); ++i)
        EXPECT_NEAR((soldAt[i] - soldAt[i - 1]) * step60, 0.2f, 1.01f * step60) << "1.2 s shared by 6";
    EXPECT_EQ(cues("sell_item").size(), 5u);
    EXPECT_TRUE(locked());

    // The money comes at once, shown rising over the player's head.
    while (world().progress.cash == 0 && step++ < MaxSaleSteps) harness->runSteps(1);
    EXPECT_EQ(world().progress.cash, 165);
    EXPECT_EQ(world().progress.experience, 0);
    ASSERT_EQ(world().worldTexts().size(), 1u);
    const WorldText& money = *world().worldTexts().begin()->second;
    const fpRect body = player().physicalObject.getBounds();
    EXPECT_EQ(money.text, "$165");
    EXPECT_NEAR(money.getPosition().x, body.x + body.w / 2.0f, 0.01f);
    EXPECT_NEAR(money.getPosition().y, body.y - 20.0f, 0.01f);
    EXPECT_EQ(money.velocity, fpVector2(0.0f, -20.0f));
    EXPECT_TRUE(money.timed);
    EXPECT_EQ(money.remainingTime, 1.0f);

    finishSale();
    EXPECT_EQ(world().progress.cash, 165);
    EXPECT_EQ(world().progress.experience, 165) << "as much experience as money";
    EXPECT_EQ(harness->session()->currentSlot().totalExperience, 165);
    // Level 1 was reached on the way: its upgrades, the one queued last first.
    EXPECT_EQ(cues("level_up").size(), 1u);
    EXPECT_EQ(uiCalls("spawnScreenEffect level_up").size(), 1u);
    EXPECT_EQ(uiCalls("showBanner"),
              (std::vector<std::string>{"UserInterface.showBanner banner_upgrade banner_upgrade_unlocked title_boots_kit 1.3",
                                        "UserInterface.showBanner banner_upgrade banner_upgrade_unlocked title_lamp_kit 1.3"}));
    EXPECT_FALSE(locked());
    EXPECT_EQ(uiCalls("hideExpBanner").size(), 1u);
    EXPECT_EQ(harness->seams().count("WorldPersistence.save"), savesBefore + 1) << "one save at the end";
}

TEST_F(SaleTest, CountingBeginsHalfASecondAfterTheMoney) {
    carry({{"ore_00", 3}});
    simulator().sellInventory();
    int step = 0;
    while (world().progress.cash == 0 && step++ < MaxSaleSteps) harness->runSteps(1);
    ASSERT_GT(world().progress.cash, 0);
    int pause = 0;
    while (lastShownExperience() <= 0.0f && pause++ < MaxSaleSteps) harness->runSteps(1);
    // Half a second of pause, plus the steps of the set-up, the pause's end and the first count.
    EXPECT_GE(pause * GameHarness::StepLength, 0.5f);
    EXPECT_LE(pause, 30 + 3);
}

TEST_F(SaleTest, ASaleAcrossTwoLevelsShowsTheFirstLevelsBannersAndWaitsForTheCamera) {
    world().progress.experience = 250;
    carry({{"ore_20", 10}});

    simulator().sellInventory();
    // Until level 2 is reached and both of its banners are up.
    int steps = 0;
    while (uiCalls("showBanner").size() < 2 && steps++ < MaxSaleSteps) harness->runSteps(1);
    EXPECT_EQ(uiCalls("showBanner"),
              (std::vector<std::string>{
                  "UserInterface.showBanner banner_upgrade banner_upgrade_unlocked title_drill_kit 1.3",
                  "UserInterface.showBanner banner_upgrade banner_shop_unlocked unlock_tubes 2"}));
    EXPECT_EQ(world().pan.target, fpVector2(320.0f, 180.0f));
    EXPECT_EQ(world().pan.speed, 100.0f);
    EXPECT_EQ(world().pan.holdTime, 1.0f);
    EXPECT_EQ(world().pan.curve, 4);
    EXPECT_EQ(itemCount("tube_pass", world().progress.items), 1);

    // The pan goes on as long as it likes: counting waits.
    harness->runSteps(120);
    const float waiting = lastShownExperience();
    EXPECT_GE(waiting, 300.0f);
    EXPECT_LT(waiting, 310.0f);
    harness->runSteps(60);
    EXPECT_EQ(lastShownExperience(), waiting);
    EXPECT_TRUE(simulator().saleRunning());

    world().pan.curve = NoCameraCurve;
    finishSale();
    EXPECT_GT(lastShownExperience(), waiting) << "counting went on after the pan";
    EXPECT_EQ(world().progress.experience, 650);
    EXPECT_EQ(world().progress.cash, 400);
    EXPECT_EQ(cues("level_up").size(), 2u) << "levels 2 and 3";
    EXPECT_EQ(uiCalls("showBanner").size(), 2u) << "level 3 unlocks nothing";
    EXPECT_FALSE(uiCalls("setExpBannerMaxLevel").empty());
}

TEST_F(SaleTest, AtTheMaximumLevelTheBannerShowsTheMaximumAndCountingGoesOn) {
    world().progress.experience = 700;
    carry({{"ore_00", 5}});

    simulator().sellInventory();
    finishSale();
    EXPECT_EQ(world().progress.experience, 750);
    EXPECT_FALSE(uiCalls("setExpBannerMaxLevel").empty());
    EXPECT_TRUE(uiCalls("setExpBannerProgress").empty());
    EXPECT_TRUE(cues("level_up").empty());
    // The last level's pace: 300 experience in two seconds, so 50 take more than a step.
    EXPECT_GE(cues("gaining_experience").size(), 2u);
}

TEST_F(SaleTest, ALevelReachedWithTheLastCountCountsTheRestOnce) {
    // 2.5 a step at level 2: the last count takes the remaining 2 and reaches level 3.
    world().progress.experience = 593;
    carry({{"nugget", 1}});

    simulator().sellInventory();
    finishSale();
    EXPECT_EQ(cues("level_up").size(), 1u);
    EXPECT_EQ(world().progress.experience, 600);
    EXPECT_EQ(world().progress.cash, 7);
}

TEST_F(SaleTest, ATableWithoutASpanCountsTheRestAtOnce) {
    auto tableOf = [](const std::vector<std::int32_t>& thresholds) {
        ExperienceDefinition table;
        for (std::size_t i = 0; i < thresholds.size(); ++i)
            table.levels.push_back({std::int32_t(i), thresholds[i], "", fpVector2(), ""});
        return table;
    };
    struct Case {
        const char* name;
        ExperienceDefinition table;
        std::int32_t experience;
    };
    const Case cases[] = {
        {"one level", tableOf({0}), 0},
        {"equal last thresholds", tableOf({0, 100, 100}), 150},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        world().progress.experience = c.experience;
        carry({{"ore_12", 2}});
        Sale sale;
        sale.begin(simulator(), c.table);
        int steps = 0;
        while (sale.running() && steps++ < MaxSaleSteps) sale.update(simulator(), GameHarness::StepLength);
        EXPECT_FALSE(sale.running());
        EXPECT_EQ(world().progress.experience, c.experience + 50);
        EXPECT_FALSE(locked());
    }
}

TEST_F(SaleTest, EmptySlotsAndUnknownItemsGoWithoutValue) {
    carry({{"ore_00", 1}, {"", 0}, {"ghost_ore", 3}, {"ore_12", 0}, {"ore_12", 1}});

    simulator().sellInventory();
    finishSale();
    EXPECT_TRUE(world().progress.inventory.slots.empty());
    EXPECT_EQ(world().progress.cash, 35);
    EXPECT_EQ(world().progress.experience, 35);
    EXPECT_EQ(cues("sell_item").size(), 3u) << "only slots that held something";
}

TEST_F(SaleTest, NothingCarriedSellsNothingAndASecondSaleWaitsForTheFirst) {
    simulator().sellInventory();
    EXPECT_FALSE(simulator().saleRunning());
    EXPECT_FALSE(locked());
    EXPECT_TRUE(uiCalls("showExpBanner").empty());

    carry({{"ore_20", 1}, {"ore_20", 1}});
    simulator().sellInventory();
    harness->runSteps(40);
    ASSERT_EQ(world().progress.inventory.slots.size(), 1u);
    simulator().sellInventory();
    finishSale();
    EXPECT_EQ(world().progress.cash, 80) << "the value sold before the second call stays counted";
    EXPECT_EQ(world().progress.experience, 80);
    EXPECT_EQ(uiCalls("showExpBanner").size(), 1u);
}

TEST_F(SaleTest, AProspectorsTalkStartsTheSale) {
    struct Case {
        const char* conversation;
        bool sells;
    };
    for (const Case& c : {Case{"weigh_in", true}, Case{"small_talk", false}, Case{nullptr, false}}) {
        SCOPED_TRACE(c.conversation ? c.conversation : "no conversation");
        carry({{"ore_00", 1}});
        const ConversationDefinition* conversation =
            c.conversation ? conversationRegistry().find(c.conversation).get() : nullptr;
        world().conversationEnded.fire(conversation);
        EXPECT_EQ(simulator().saleRunning(), c.sells);
        finishSale();
    }
}

} // namespace
} // namespace zor
