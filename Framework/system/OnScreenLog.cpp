#include "Framework/system/OnScreenLog.h"

#include "Framework/graphics/debug/DebugDraw.h"
#include "Framework/graphics/screen/Screen.h"
#include "Framework/system/ApplicationState.h"
#include "Framework/system/surface/StateMachine.h"

#include <thread>

namespace zor {

namespace {

// The on-screen log's sink number; it takes lines of every level.
constexpr std::int32_t OnScreenSinkNumber = 23;

} // namespace

void setOnScreenLog(bool on) {
    ApplicationState& app = appState();
    if (!LogHandler::exists()) return;
    if (on) {
        app.onScreenLogId = LogHandler::instance().addSink(&onScreenLogSink, OnScreenSinkNumber, LogHandler::Verbose, "%1%");
    } else {
        LogHandler::instance().removeSink(app.onScreenLogId);
        if (DebugDraw::exists()) DebugDraw::instance().screenLayer.expireLog(std::uintptr_t(app.onScreenLogId));
        app.onScreenLogId = 0;
    }
}

void onScreenLogSink(const std::string& line, LogHandler::LevelType level) {
    // White for 10 s, warnings yellow for 60 s, errors red for 1000 s.
    PackedColor color = colorWhite();
    float seconds = 10.0f;
    if (LogHandler::isWarning(level)) {
        color = PackedColor::fromChannels(255, 255, 0, 255);
        seconds = 60.0f;
    } else if (LogHandler::isError(level)) {
        color = PackedColor::fromChannels(255, 0, 0, 255);
        seconds = 1000.0f;
    }
    addOnScreenLogLine(line, std::uintptr_t(appState().onScreenLogId), seconds, color);
    if (LogHandler::isError(level) && std::this_thread::get_id() == appState().mainThreadId) {
        appState().lastErrorLine = line;
        requestState({RequestStateAtOnce, StateErrorMenu});
    }
}

void addOnScreenLogLine(const std::string& line, std::uintptr_t logId, float seconds, const PackedColor& color) {
    if (!DebugDraw::exists()) return;
    fpRect box(0.0f, 50.0f, 0.0f, 0.0f);
    const std::vector<Screen::Viewport>& viewports = Screen::viewports();
    if (!viewports.empty()) {
        const Screen::Viewport& last = viewports[viewports.size() >= 2 ? 1 : 0];
        box.w = last.virtualWidth;
        box.h = last.virtualHeight - box.y;
    }
    // The log's layout gives every line its own entry: the line end would only add an empty line.
    std::string text = line;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    DebugDraw& debugDraw = DebugDraw::instance();
    debugDraw.screenLayer.addLogLine(text, logId, box, seconds, debugDraw.font(), color);
}

} // namespace zor
