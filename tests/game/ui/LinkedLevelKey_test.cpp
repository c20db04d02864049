// The host's key that walks the level links, on the sample data's levels.

#include "game/ui/LinkedLevelKey.h"

#include "game/simulation/Game.h"
#include "game/simulation/Simulator.h"
#include "game/world/World.h"

#include "tests/support/game/GameHarness.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zor {
namespace {

TEST(LinkedLevelKey, EachPressRequestsTheNextLinkOfTheLevelInTurn) {
    test::HarnessOptions options(1, "mine1");
    options.sampleData = true;
    test::GameHarness harness(options);
    LinkedLevelKey key;
    InputState& input = harness.input();
    input.bind(LinkedLevelKey::Button, "Key.F9");
    const auto press = [&] {
        input.setKeyPressed(*findKeyCode("Key.F9"), true);
        const bool requested = key.handle(input, harness.simulator());
        input.update(test::GameHarness::StepLength);
        return requested;
    };
    std::vector<std::string> visited;
    for (int change = 0; change < 6; ++change) {
        ASSERT_TRUE(press()) << change;
        EXPECT_FALSE(press()) << "nothing more while a change is pending";
        harness.runSteps(60);
        visited.push_back(harness.world().level->name);
    }
    // mine1's links in turn, each other level's one link back.
    EXPECT_EQ(visited, (std::vector<std::string>{"shalebury", "mine1", "cinder_hollow", "mine1", "shalebury", "mine1"}));
    // Without a press nothing is asked.
    EXPECT_FALSE(key.handle(input, harness.simulator()));
}

} // namespace
} // namespace zor
