#include "Framework/system/OnScreenLog.h"

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
        // The debug-draw service expires this sink's lines in its screen layer here.
        app.onScreenLogId = 0;
    }
}

void onScreenLogSink(const std::string&, LogHandler::LevelType level) {
    // The debug-draw service shows the line in its screen layer, from (0, 50) to the
    // virtual size of the last viewport: white for 10 s, warnings yellow for 60 s, errors
    // red for 1000 s.
    if (LogHandler::isError(level) && std::this_thread::get_id() == appState().mainThreadId)
        requestState({RequestStateAtOnce, StateErrorMenu});
}

} // namespace zor
