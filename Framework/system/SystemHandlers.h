#pragma once
// The two handlers start-up installs: the load-error handler, which every failed load of
// required data reaches (and which ends the program), and the quit handler behind the
// quit request of the game states.

#include <functional>
#include <string>

namespace zor {

using LoadErrorHandler = std::function<void(const std::string& text)>;
using QuitHandler = std::function<void()>;

void setLoadErrorHandler(LoadErrorHandler handler);
bool hasLoadErrorHandler();
// Calls the handler; without one it throws std::bad_function_call.
void reportLoadError(const std::string& text);

void setQuitHandler(QuitHandler handler);
// Calls the handler when one is installed.
void callQuitHandler();

} // namespace zor
