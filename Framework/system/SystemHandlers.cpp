#include "Framework/system/SystemHandlers.h"

#include <utility>

namespace zor {

namespace {

LoadErrorHandler g_loadErrorHandler;
QuitHandler g_quitHandler;

} // namespace

void setLoadErrorHandler(LoadErrorHandler handler) { g_loadErrorHandler = std::move(handler); }

bool hasLoadErrorHandler() { return bool(g_loadErrorHandler); }

void reportLoadError(const std::string& text) { g_loadErrorHandler(text); }

void setQuitHandler(QuitHandler handler) { g_quitHandler = std::move(handler); }

void callQuitHandler() {
    if (g_quitHandler) g_quitHandler();
}

} // namespace zor
