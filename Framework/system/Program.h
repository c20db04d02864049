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

// The choice of sound output, start-up, the command line, the input bindings, the main
// loop and the shutdown.
// Returns 0, or -1 after a fatal error: the window is closed and the error's text shown
// in an error message box (and written to standard error).
int runProgram(int argc, char** argv);

} // namespace zor
