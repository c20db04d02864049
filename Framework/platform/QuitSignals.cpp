#include "Framework/platform/QuitSignals.h"

#include <SDL.h>

#include <csignal>

namespace zor {

namespace {

volatile std::sig_atomic_t g_quitSignal = 0;

void onQuitSignal(int) { g_quitSignal = 1; }

void install(int signal) {
    struct sigaction action {};
    action.sa_handler = onQuitSignal;
    sigemptyset(&action.sa_mask);
    // One-shot: the next signal of this kind is handled the default way.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    sigaction(signal, &action, nullptr);
}

} // namespace

void installQuitSignalHandlers() {
    install(SIGINT);
    install(SIGTERM);
}

bool quitSignalPending() { return g_quitSignal != 0; }

bool forwardQuitSignals() {
    if (!g_quitSignal) return false;
    g_quitSignal = 0;
    SDL_Event event{};
    event.type = SDL_QUIT;
    return SDL_PushEvent(&event) == 1;
}

} // namespace zor
