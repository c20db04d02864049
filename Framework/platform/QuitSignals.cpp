#include "Framework/platform/QuitSignals.h"

#include <SDL.h>

#include <unistd.h>

#include <csignal>
#include <cstdio>

namespace zor {

namespace {

constexpr int QuitSignals[] = {SIGINT, SIGTERM, SIGHUP};

volatile std::sig_atomic_t g_quitSignal = 0;
volatile std::sig_atomic_t g_exitOnSignal = 0;
volatile std::sig_atomic_t g_exitCode = 0;
volatile std::sig_atomic_t g_endedGroup = 0;

void onQuitSignal(int) {
    if (g_exitOnSignal) {
        if (g_endedGroup > 0) ::kill(-pid_t(g_endedGroup), SIGTERM);
        _exit(g_exitCode);
    }
    g_quitSignal = 1;
}

void install(int signal, int flags) {
    struct sigaction action {};
    action.sa_handler = onQuitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = flags;
    sigaction(signal, &action, nullptr);
}

} // namespace

void installQuitSignalHandlers() {
    // One-shot: the next signal of this kind is handled the default way.
    for (const int signal : QuitSignals) install(signal, SA_RESTART | SA_RESETHAND);
}

bool quitSignalPending() { return g_quitSignal != 0; }

bool forwardQuitSignals() {
    if (!g_quitSignal) return false;
    g_quitSignal = 0;
    SDL_Event event{};
    event.type = SDL_QUIT;
    return SDL_PushEvent(&event) == 1;
}

void exitOnQuitSignal(int exitCode) {
    std::fflush(stdout);
    std::fflush(stderr);
    g_exitCode = exitCode & 0xFF;
    g_exitOnSignal = 1;
    // Again, as a first signal may have put back the default course.
    for (const int signal : QuitSignals) install(signal, SA_RESTART);
}

void endProcessGroupOnQuitSignal(int processGroup) { g_endedGroup = processGroup; }

} // namespace zor
