// The sample levels' script graphs in a harness game with the game's own level scripts.

#include "game/script/LevelScriptSimulator.h"
#include "game/script/ScriptSystem.h"
#include "game/simulation/Simulator.h"

#include "tests/support/common/LogCapture.h"
#include "tests/support/game/GameHarness.h"
#include "tests/support/script/ScriptHarnessPorts.h"

#include <gtest/gtest.h>

namespace zor::test {
namespace {

const ScriptSystem& graphOf(GameHarness& harness) {
    const auto* scripts = dynamic_cast<const LevelScriptSimulator*>(&harness.simulator().scriptSimulator());
    EXPECT_NE(scripts, nullptr);
    EXPECT_NE(scripts->system(), nullptr);
    return *scripts->system();
}

// Also with the Game built on a worker thread of its own, as the program builds it.
TEST(SampleScripts, TheTownsGraphRunsEveryStepWithoutWarnings) {
    for (const bool workerThread : {false, true}) {
        SCOPED_TRACE(workerThread ? "on a worker thread" : "inline");
        LogCapture log;
        HarnessOptions options(1, "shalebury");
        options.sampleData = true;
        options.workerThread = workerThread;
        options.ports = &withLevelScripts;
        GameHarness harness(options);
        ASSERT_TRUE(harness.runUntilSettled(600));
        harness.runSteps(240);
        const ScriptSystem& graph = graphOf(harness);
        EXPECT_EQ(graph.nodes().size(), 4u);
        EXPECT_GE(graph.tick(), 240u);
        for (const auto& node : graph.nodes())
            for (const auto& output : node->outputs) EXPECT_GT(output->tick, 0u) << node->name << " never ran";
        EXPECT_EQ(log.warnings, std::vector<std::string>());
        EXPECT_EQ(log.errors, std::vector<std::string>());
    }
}

} // namespace
} // namespace zor::test
