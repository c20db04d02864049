// A sale on the sample data, as the town's prospector starts it: the shipped experience
// table and upgrades carry it to its end.

#include "game/definitions/ConversationDefinition.h"
#include "game/simulation/Simulator.h"
#include "game/world/World.h"

#include "tests/support/game/GameHarness.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

TEST(SampleSale, TheProspectorsTalkSellsTheOreForMoneyAndAsMuchExperience) {
    test::HarnessOptions options(1, "shalebury");
    options.sampleData = true;
    options.gameRules = true;
    test::GameHarness harness(options);
    harness.runSteps(5);
    World& world = harness.world();
    world.progress.inventory.slots = {{"copper_ore", 20}, {"tin_ore", 5}};
    const std::int32_t value = std::int32_t(world.progress.inventory.totalValue());
    ASSERT_GT(value, 100) << "enough to reach the first level";
    const std::int32_t cash = world.progress.cash;
    const std::int32_t experience = world.progress.experience;
    const std::size_t saves = harness.seams().count("WorldPersistence.save");

    world.conversationEnded.fire(conversationRegistry().find("isolde_trade").get());
    ASSERT_TRUE(harness.simulator().saleRunning());
    for (int step = 0; step < 60 * 60 && harness.simulator().saleRunning(); ++step) harness.runSteps(1);
    EXPECT_FALSE(harness.simulator().saleRunning());
    EXPECT_TRUE(world.progress.inventory.slots.empty());
    EXPECT_EQ(world.progress.cash - cash, value);
    EXPECT_EQ(world.progress.experience - experience, value);
    EXPECT_EQ(world.player()->busyFlags & BusyFlag::Sale, 0u);
    EXPECT_EQ(harness.seams().count("WorldPersistence.save"), saves + 1);
}

} // namespace
} // namespace zor
