#pragma once
// SIGINT and SIGTERM end the program the way closing its window does: they become an SDL
// quit request, so the main loop ends and the shutdown runs in order (settings saved,
// threads joined). A second signal before the first is served takes its default course,
// so a program that hangs can still be stopped.

namespace zor {

// Installs the handlers. Call once, early in start-up: a signal arriving before SDL runs
// is kept until forwardQuitSignals() is called.
void installQuitSignalHandlers();

// True while a received signal has not yet been forwarded.
bool quitSignalPending();

// Pushes one SDL quit event for a received signal; the event pump calls it before it
// polls. Returns whether an event was pushed.
bool forwardQuitSignals();

} // namespace zor
