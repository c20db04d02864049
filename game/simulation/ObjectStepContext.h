#pragma once
// What the object update hands down for one game object in one step: the actor update
// writes the limits of the physics step that follows it in the same object update.

#include <cstdint>

namespace zor {

struct ObjectStepContext {
    float step = 0.0f;  // seconds
    // The actor's ground state before its update (0 air, 1 ground, 2 platform top).
    std::int32_t previousGround = 0;
    // Above 0: each velocity component is clamped to [-speedLimit, speedLimit] (px/s).
    float speedLimit = 0.0f;
    float gravityScale = 1.0f;
};

} // namespace zor
