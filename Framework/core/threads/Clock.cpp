#include "Framework/core/threads/Clock.h"

#include <chrono>

namespace zor {

double secondsSinceStart() {
    static const auto start = std::chrono::steady_clock::now();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace zor
