#include "Framework/platform/DeadlineSleep.h"

#include <cerrno>
#include <cmath>
#include <time.h>

namespace zor {

double monotonicSeconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

void sleepUntil(double deadline) {
    if (!(deadline > 0.0)) return;
    timespec until{};
    double whole = 0.0;
    const double fraction = std::modf(deadline, &whole);
    until.tv_sec = static_cast<time_t>(whole);
    until.tv_nsec = static_cast<long>(fraction * 1e9);
    if (until.tv_nsec >= 1000000000L) until.tv_nsec = 999999999L;
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
    }
}

} // namespace zor
