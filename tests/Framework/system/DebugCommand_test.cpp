#include "Framework/core/commands/Commands.h"
#include "Framework/core/debug/DebugFlags.h"
#include "Framework/system/DebugCommand.h"
#include "tests/support/common/LogCapture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zor {
namespace {

TEST(DebugCommand, FlipsTheNamedFlagFromTheCommandLineAndThePipe) {
    registerDebugCommand();
    const CoreDebugFlags& flags = coreDebugFlags();
    DebugFlag& gameFlag = declareDebugToggle(DebugToggle("lanterns", DebugToggle::Toggle, "game debug"));
    test::LogCapture log;

    runCommandArguments({"-debug", "perf", "showFps"});
    EXPECT_TRUE(flags.showFps);
    runPipeText("\"-debug\" \"perf\" \"showFps\"");
    EXPECT_FALSE(flags.showFps) << "a second use switches it off";

    // A one-shot fires in the step that reads it, which clears it.
    runCommandArguments({"-debug", "system", "resetAchievements"});
    EXPECT_TRUE(flags.resetAchievements);
    flags.resetAchievements = false;

    runCommandArguments({"-debug", "game debug", "lanterns"});
    EXPECT_TRUE(gameFlag) << "flags the game declares later are reached too";
    gameFlag = false;

    const std::size_t before = log.lines.size();
    runCommandArguments({"-debug", "perf", "showfps", "-debug", "system"});
    EXPECT_FALSE(flags.showFps) << "names are exact";
    ASSERT_EQ(log.lines.size(), before + 1) << "a missing argument runs nothing";
    EXPECT_EQ(log.lines.back(), "No debug flag \"perf\"/\"showfps\"\n");
}

} // namespace
} // namespace zor
