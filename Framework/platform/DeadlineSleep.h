#pragma once
// Sleeping to a point of the monotonic clock rather than for a span: a wake-up that comes
// early (a signal) sleeps on to the same point, and the time spent before the call does
// not add to the wait.

namespace zor {

// Seconds on the monotonic clock (CLOCK_MONOTONIC), from an arbitrary start.
double monotonicSeconds();

// Sleeps until the monotonic clock reads `deadline`; returns at once when it is past.
void sleepUntil(double deadline);

} // namespace zor
