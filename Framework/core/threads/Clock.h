#pragma once
// The high-resolution clock of the engine.

namespace zor {

// Seconds since the first call (which returns 0), from a monotonic clock.
double secondsSinceStart();

} // namespace zor
