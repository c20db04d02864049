#pragma once
// How late a sleep may wake up: the frame pacing stops sleeping this much before a
// frame's deadline so that a sleep never overshoots it.

namespace zor {

// Seconds: the larger of the monotonic clock's resolution and the calling thread's timer
// slack; 1 ms when neither can be read.
double timerResolution();

} // namespace zor
