#pragma once
// The log sink that shows log lines on screen. It exists during system initialisation
// and while the debug flag "showLog" is on. An error line written on the main thread
// while it exists switches the game to the error menu at once.

#include "Framework/core/log/LogHandler.h"

#include <string>

namespace zor {

// Adds (true) or removes (false) the sink; its id is kept in the application state.
void setOnScreenLog(bool on);

// The sink's callback.
void onScreenLogSink(const std::string& line, LogHandler::LevelType level);

} // namespace zor
