#pragma once
// The debugger as the program sees it: is one attached, and text for it.

#include <string>

namespace zor {

// True while another process traces this one.
bool isDebuggerAttached();

// Text for an attached debugger. A debugger here shows the program's standard
// error, so the text goes there, unchanged, while one is attached; without a
// listener it is dropped, as console lines must not appear twice.
void debuggerOutput(const std::string& text);

// The tracer's process id read from the text of /proc/<pid>/status; 0 when the
// text names none or cannot be read.
int tracerPidFromStatus(const std::string& statusText);

} // namespace zor
