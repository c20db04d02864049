#pragma once

namespace zor {

// Handed to every surface's update once per update step.
struct UpdateRecord {
    float stepLength = 0.0f;  // seconds, after the debug time controls and the 0.1 s limit
    double totalTime = 0.0;   // seconds, the sum of all step lengths so far
    bool fading = false;      // a state change or fade is running

    // 1 / stepLength, and 0 for a frozen step so that rates derived from it stay finite.
    float inverseStep() const { return stepLength > 0.0f ? 1.0f / stepLength : 0.0f; }
};

} // namespace zor
