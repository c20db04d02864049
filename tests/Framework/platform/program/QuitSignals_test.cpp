#include "Framework/platform/QuitSignals.h"
#include "Framework/platform/TimerResolution.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <csignal>

namespace zor {
namespace {

bool quitEventWaiting() {
    SDL_PumpEvents();
    SDL_Event event;
    return SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_QUIT, SDL_QUIT) == 1;
}

TEST(QuitSignals, SigintSigtermAndSighupBecomeOneSdlQuitRequest) {
    ASSERT_EQ(SDL_Init(SDL_INIT_EVENTS), 0) << SDL_GetError();
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        installQuitSignalHandlers();
        EXPECT_FALSE(forwardQuitSignals());
        ASSERT_EQ(std::raise(signal), 0);  // the process goes on
        EXPECT_TRUE(quitSignalPending());
        EXPECT_FALSE(quitEventWaiting());  // nothing reaches SDL until it is forwarded
        EXPECT_TRUE(forwardQuitSignals());
        EXPECT_FALSE(quitSignalPending());
        EXPECT_TRUE(quitEventWaiting());
        EXPECT_FALSE(forwardQuitSignals());  // one signal, one request
        EXPECT_FALSE(quitEventWaiting());
    }
    SDL_Quit();
}

TEST(QuitSignals, SecondSignalTakesItsDefaultCourse) {
    installQuitSignalHandlers();
    EXPECT_EXIT(
        {
            std::raise(SIGTERM);
            std::raise(SIGTERM);
            std::_Exit(0);
        },
        ::testing::KilledBySignal(SIGTERM), "");
}

TEST(QuitSignals, WhileTheErrorBoxWaitsAnySignalEndsTheProcessWithTheErrorsCode) {
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        EXPECT_EXIT(
            {
                installQuitSignalHandlers();
                std::raise(SIGTERM);  // served the usual way: the handler is now the default one
                exitOnQuitSignal(-1);
                std::raise(signal);
                std::_Exit(0);
            },
            ::testing::ExitedWithCode(255), "");
    }
}

TEST(TimerResolution, PositiveAndBelowASecond) {
    const double resolution = timerResolution();
    EXPECT_GT(resolution, 0.0);
    EXPECT_LE(resolution, 0.02);
}

} // namespace
} // namespace zor
