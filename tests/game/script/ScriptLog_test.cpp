// The scripts' on-screen log: only with the debug flag "showLog", the log's lines in the
// screen layer of the debug drawing while a graph lives, errors in red for longer.

#include "game/script/ScriptSystem.h"

#include "Framework/core/debug/DebugFlags.h"
#include "Framework/core/log/LogHandler.h"
#include "Framework/graphics/debug/DebugDraw.h"
#include "Framework/graphics/screen/Screen.h"

#include "tests/support/common/LogCapture.h"

#include <gtest/gtest.h>

namespace zor::test {
namespace {

// The lines of the scripts' log as "text/seconds/red", oldest first.
std::vector<std::string> scriptLogLines(DebugDraw& debugDraw) {
    std::vector<std::string> lines;
    for (const auto& log : debugDraw.screenLayer.logs) {
        if (log->id != ScriptSystem::LogId) continue;
        for (const auto& entry : log->entries)
            lines.push_back(entry->text + "/" + std::to_string(int(entry->remainingTime)) + "/" +
                            std::to_string(entry->color.red()));
    }
    return lines;
}

TEST(ScriptLogTest, LinesShowOnScreenOnlyOnRequestAndWhileTheGraphLives) {
    LogCapture capture;  // makes the log
    DebugDraw debugDraw;
    Screen::viewports().resize(1);
    Screen::viewports()[0].virtualWidth = 640.0f;
    Screen::viewports()[0].virtualHeight = 360.0f;
    {
        ScriptSystem quiet;
        LogHandler::log(LogHandler::Info, "ScriptSystem", "unseen");
    }
    EXPECT_TRUE(scriptLogLines(debugDraw).empty());

    coreDebugFlags().showLog = true;
    {
        ScriptSystem shown;
        LogHandler::log(LogHandler::Debug, "ScriptSystem", "below info");
        LogHandler::log(LogHandler::Info, "ScriptSystem", "opened");
        LogHandler::log(LogHandler::Error, "ScriptSystem", "broken");
        coreDebugFlags().showLog = false;
        EXPECT_EQ(scriptLogLines(debugDraw), (std::vector<std::string>{"opened/10/255", "broken/1000/255"}));
        ASSERT_EQ(debugDraw.screenLayer.logs.size(), 1u);
        EXPECT_EQ(debugDraw.screenLayer.logs[0]->box, fpRect(0, 50, 640, 310));
        EXPECT_EQ(debugDraw.screenLayer.logs[0]->entries[0]->color.green(), 255);
        EXPECT_EQ(debugDraw.screenLayer.logs[0]->entries[1]->color.green(), 0);
    }
    LogHandler::log(LogHandler::Info, "ScriptSystem", "after");
    debugDraw.advance(0.0f);
    EXPECT_TRUE(scriptLogLines(debugDraw).empty());
}

} // namespace
} // namespace zor::test
