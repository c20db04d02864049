#pragma once
// What a node's frames make of its children, so that an update can leave them alone while
// the node's frame moves on: frames of one run put every child in the same life state and
// under the same keys.

#include <cstdint>
#include <vector>

namespace zor {

struct SpriteDefinition;

// One entry per frame of the definition's timeline (0 up to the last end of its children's
// life ranges): the first frame of the frame's life run (in which the same children are
// alive) in the high 16 bits; the first frame of its run, shifted left by one; and the low
// bit set where a child's key ends, the frame during which an interpolating child blends
// towards its next key. Empty for a timeline longer than the table may grow.
std::vector<std::uint32_t> childFrameRuns(const SpriteDefinition& definition);

// Whether children stepped at frame `stepped` stand as they would be stepped at `frame`,
// blending nowhere: their keys, life states and poses would not change.
inline bool childrenStandAcross(const std::vector<std::uint32_t>& runs, std::uint32_t stepped, std::uint32_t frame) {
    if (stepped >= runs.size() || frame >= runs.size()) return false;
    return runs[stepped] == runs[frame] && (runs[frame] & 1u) == 0;
}

// Whether frames `a` and `b` may differ in which children are alive: they lie in life runs
// of their own.
inline bool childLivesDiffer(const std::vector<std::uint32_t>& runs, std::uint32_t a, std::uint32_t b) {
    return a >= runs.size() || b >= runs.size() || runs[a] >> 16 != runs[b] >> 16;
}

// Whether a child may blend at `frame`, so that its pose follows the time within it.
inline bool childBlendsAt(const std::vector<std::uint32_t>& runs, std::uint32_t frame) {
    return frame >= runs.size() || (runs[frame] & 1u) != 0;
}

} // namespace zor
