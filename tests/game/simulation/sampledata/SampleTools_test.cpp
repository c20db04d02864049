// The sample player's tools at the start of "mine1": every shipped building stands there
// once the player has landed, and the dynamite flies, each spending one item; a second
// lamp where the first stands is refused.

#include "game/simulation/GameObjectSimulator.h"
#include "game/simulation/tools/ToolUse.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/progress/ItemCountMap.h"

#include "tests/support/game/GameHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

namespace zor {
namespace {

using test::GameHarness;
using test::HarnessOptions;

std::unique_ptr<GameHarness> sampleGameWithTools() {
    HarnessOptions options(1, "mine1");
    options.sampleData = true;
    options.gameMovement = true;
    auto harness = std::make_unique<GameHarness>(options);
    ItemCountMap& items = harness->world().progress.items;
    for (const ActorDefinition::Tool& tool : harness->world().player()->definition().tools) {
        if (!tool.requiredUpgrade.empty()) items.counts[tool.requiredUpgrade] = 1;
        items.counts[tool.countedUpgrade] = 2;
    }
    harness->runSteps(180);
    return harness;
}

TEST(SampleTools, EveryShippedToolWorksFromTheStartAndSpendsOneItem) {
    const std::size_t toolCount = sampleGameWithTools()->world().player()->definition().tools.size();
    ASSERT_EQ(toolCount, 5u);
    for (std::size_t index = 0; index < toolCount; ++index) {
        std::unique_ptr<GameHarness> harness = sampleGameWithTools();
        const std::string item = harness->world().player()->definition().tools[index].countedUpgrade;
        EXPECT_TRUE(useTool(harness->objects(), std::int32_t(index))) << item;
        EXPECT_EQ(itemCount(item, harness->world().progress.items), 1) << item;
    }
}

TEST(SampleTools, ASecondLampWhereTheFirstStandsIsRefused) {
    std::unique_ptr<GameHarness> harness = sampleGameWithTools();
    ASSERT_TRUE(useTool(harness->objects(), 0));
    harness->objects().messageCooldown = 0.0f;
    EXPECT_FALSE(useTool(harness->objects(), 0));
    EXPECT_EQ(itemCount("lamp", harness->world().progress.items), 1);
    const auto& sounds = harness->world().player()->pendingSounds;
    EXPECT_NE(std::find(sounds.begin(), sounds.end(), "building_not_possible"), sounds.end());
}

} // namespace
} // namespace zor
