#pragma once
// The road from a failed worker job to the main thread. A ThreadedWorkQueue worker whose
// job throws a std::exception records the exception's text and stops; the update step
// hands the text on to the load-error handler. Any thread.

#include <functional>
#include <string>

namespace zor {

// Keeps the text of a failed job. While one waits to be reported, later ones are
// ignored: the first failure is the cause, and it ends the program.
void recordWorkerFailure(const std::string& text);

// When a failure waits: takes it, calls handler with "Worker thread: " + its text and
// returns true. The update step calls this every step.
bool reportWorkerFailure(const std::function<void(const std::string&)>& handler);

} // namespace zor
