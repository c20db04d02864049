#pragma once
// SIGINT, SIGTERM and SIGHUP end the program the way closing its window does: they become
// an SDL quit request, so the main loop ends and the shutdown runs in order (settings
// saved, threads joined). A second signal before the first is served takes its default
// course, so a program that hangs can still be stopped.

namespace zor {

// Installs the handlers. Call once, early in start-up: a signal arriving before SDL runs
// is kept until forwardQuitSignals() is called.
void installQuitSignalHandlers();

// True while a received signal has not yet been forwarded.
bool quitSignalPending();

// Pushes one SDL quit event for a received signal; the event pump calls it before it
// polls. Returns whether an event was pushed.
bool forwardQuitSignals();

// From now on every quit signal ends the process at once with the exit code, without any
// clean-up: for the wait in the error message box, when nothing is left to shut down.
// Standard output and error are flushed first.
void exitOnQuitSignal(int exitCode);

// A process group that such a quit signal ends (SIGTERM) before the process exits, so no
// helper process outlives it; 0 for none.
void endProcessGroupOnQuitSignal(int processGroup);

} // namespace zor
