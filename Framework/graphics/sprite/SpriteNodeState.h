#pragma once
// The placement of a sprite node, and also one animation key of it.

#include <cstdint>

namespace zor {

struct SpriteNodeState {
    // For a node: its life range in the parent's timeline. For a key: the parent's frames
    // the key applies to.
    std::uint32_t firstFrame = 0;
    std::uint32_t lastFrame = 0;
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;  // carried by keys but not animated
    float pivotX = 0.0f;
    float pivotY = 0.0f;
    float scaleX = 1.0f;
    float scaleY = 1.0f;
    float rotation = 0.0f;  // radians
    float r = 1.0f;
    float g = 1.0f;
    float b = 1.0f;
    float a = 1.0f;
    bool visible = true;  // carried by keys but not animated

    bool holdsFrame(std::uint32_t frame) const { return firstFrame <= frame && frame <= lastFrame; }
};

} // namespace zor
