#include "Framework/graphics/sprite/SpriteFrameRuns.h"

#include "Framework/graphics/sprite/SpriteDefinition.h"

#include <algorithm>

namespace zor {
namespace {

// Beyond this, timelines keep no table (and their children are stepped at every frame
// change): the table is made for animations, not for ranges out of damaged data.
constexpr std::uint32_t kMaxTableFrames = 1u << 15;

// The default key a child without keys stands under: frames 0 to 0.
const SpriteNodeState keylessKey{};

} // namespace

std::vector<std::uint32_t> childFrameRuns(const SpriteDefinition& definition) {
    std::uint32_t last = 0;
    for (const SpriteNodeDefinition* child : definition.children) last = std::max(last, child->lastFrame);
    if (last >= kMaxTableFrames) return {};
    const std::size_t frames = static_cast<std::size_t>(last) + 1;

    // A run ends where a range holding frames begins or ends, a life run where a life range
    // does; a key ending is a blend frame.
    std::vector<bool> startsRun(frames + 1, false);
    std::vector<bool> startsLife(frames + 1, false);
    std::vector<bool> blends(frames, false);
    const auto bound = [&](std::vector<bool>& starts, std::uint32_t first, std::uint32_t lastHeld) {
        if (first > lastHeld) return;  // holds no frame
        if (first < frames) starts[first] = true;
        if (lastHeld < frames) starts[lastHeld + 1] = true;
    };
    for (const SpriteNodeDefinition* child : definition.children) {
        bound(startsRun, child->firstFrame, child->lastFrame);
        bound(startsLife, child->firstFrame, child->lastFrame);
        const auto keys = child->keys.empty() ? &keylessKey : child->keys.data();
        const std::size_t keyCount = child->keys.empty() ? 1 : child->keys.size();
        for (std::size_t k = 0; k < keyCount; ++k) {
            bound(startsRun, keys[k].firstFrame, keys[k].lastFrame);
            if (keys[k].firstFrame <= keys[k].lastFrame && keys[k].lastFrame < frames) blends[keys[k].lastFrame] = true;
        }
    }

    std::vector<std::uint32_t> runs(frames);
    std::uint32_t runStart = 0;
    std::uint32_t lifeStart = 0;
    for (std::uint32_t f = 0; f < frames; ++f) {
        if (startsRun[f]) runStart = f;
        if (startsLife[f]) lifeStart = f;
        runs[f] = lifeStart << 16 | runStart << 1 | (blends[f] ? 1u : 0u);
    }
    return runs;
}

} // namespace zor
