#include "Framework/platform/TimerResolution.h"

#include <sys/prctl.h>

#include <algorithm>
#include <time.h>

namespace zor {

double timerResolution() {
    double resolution = 0.0;
    timespec clockResolution{};
    if (clock_getres(CLOCK_MONOTONIC, &clockResolution) == 0)
        resolution = double(clockResolution.tv_sec) + double(clockResolution.tv_nsec) * 1e-9;
    const int slack = prctl(PR_GET_TIMERSLACK, 0, 0, 0, 0);
    if (slack >= 0) resolution = std::max(resolution, double(slack) * 1e-9);
    return resolution > 0.0 ? resolution : 0.001;
}

} // namespace zor
