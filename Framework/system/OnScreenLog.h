#pragma once
// The log sink that shows log lines on screen. It exists during system initialisation
// and while the debug flag "showLog" is on. An error line written on the main thread
// while it exists switches the game to the error menu at once.

#include "Framework/core/log/LogHandler.h"
#include "Framework/core/math/Color.h"

#include <cstdint>
#include <string>

namespace zor {

// Adds (true) or removes (false) the sink; its id is kept in the application state.
void setOnScreenLog(bool on);

// The sink's callback.
void onScreenLogSink(const std::string& line, LogHandler::LevelType level);

// Shows a formatted log line in the debug drawing's on-screen log of that id, from (0, 50)
// to the virtual size of the last viewport (the second when there are more); nothing
// without a debug drawing. Any thread.
void addOnScreenLogLine(const std::string& line, std::uintptr_t logId, float seconds, const PackedColor& color);

} // namespace zor
