#pragma once
// The program from start to end, as the entry point runs it.

#include "Framework/core/Errors.h"

#include <exception>

namespace zor {

// The fatal error an exception that reached the top becomes: a MainError stays as it is,
// a std::runtime_error reads "Unexpected runtime error: " + its text, another
// std::exception "Unexpected exception: " + its text, anything else "Unknown exception.".
// With a debugger attached, an exception of an unknown type is rethrown instead, so the
// debugger stops at it.
MainError toMainError(std::exception_ptr error);

// The exit status of a program whose display went away while it ran.
inline constexpr int LostDisplayExitCode = 1;

// The choice of sound output, start-up, the command line, the input bindings, the main
// loop and the shutdown.
// Returns 0, or -1 after a fatal error: the services are stopped in the shutdown order (the
// settings are not saved), the window is closed and the error's text, its non-printable
// bytes escaped, is written to standard error and shown in an error message box, which a
// quit signal closes by ending the process with -1. When the display's connection breaks,
// the shutdown runs without the display (settings saved, services stopped) and the process
// ends with LostDisplayExitCode.
int runProgram(int argc, char** argv);

} // namespace zor
