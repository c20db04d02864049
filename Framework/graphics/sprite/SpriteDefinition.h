#pragma once
// The records of a sprite set: a definition is one drawable thing (an image, or a group of
// placed children, or both); a node definition places one child in its parent's timeline;
// a shape is a named, animated point list (hit areas, collision outlines). Filled by the
// sprite set reader, then only read.

#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "Framework/core/settings/SettingValue.h"
#include "Framework/graphics/sprite/SpriteNodeState.h"

namespace zor {

struct SpriteDefinition;

// Shape type of the hit area of menu widgets.
constexpr std::uint8_t SpriteShapeHitArea = 3;

struct SpriteShape {
    std::string name;
    std::vector<SpriteNodeState> keys;  // frame range and transform
    std::vector<float> coordinates;     // x and y alternating
    std::uint8_t type = 0;
};

struct SpriteNodeDefinition {
    std::string name;            // the whole name, "__" parameters included
    std::string definitionName;  // the definition the child shows
    float depth = 0.0f;          // children are drawn in ascending depth
    float x = 0.0f;
    float y = 0.0f;
    float rotation = 0.0f;
    float scaleX = 1.0f;
    float scaleY = 1.0f;
    std::uint32_t firstFrame = 0;  // life range in the parent's timeline
    std::uint32_t lastFrame = 0;
    float r = 1.0f;
    float g = 1.0f;
    float b = 1.0f;
    float a = 1.0f;
    bool enabled = true;
    std::vector<SpriteNodeState> keys;
    const SpriteDefinition* definition = nullptr;  // resolved when the set is linked
    std::vector<SettingValue> nameParameters;      // the texts after each "__" of the name
};

struct SpriteFrameRange {
    std::uint32_t first = 0;
    std::uint32_t last = 0;
};

struct SpriteDefinition {
    std::uint32_t reserved = 0;
    std::string name;
    std::string textureName;  // sub-texture of the set's texture set; empty for groups
    // Where the image's top-left corner lies in the node's space; a node showing the
    // definition gets the pivot minus the origin.
    float originX = 0.0f;
    float originY = 0.0f;
    std::uint32_t frameCount = 0;
    // Nodes a tree of this definition holds below its root; -1 until the set is linked.
    int descendantCount = -1;
    std::uint32_t reservedValues[3] = {0, 0, 0};
    // Into `nodes`, in ascending depth once the set is linked.
    std::vector<const SpriteNodeDefinition*> children;
    // Made when the set is linked: see childFrameRuns.
    std::vector<std::uint32_t> childFrameRuns;
    std::vector<SpriteShape> shapes;
    std::map<std::uint32_t, std::string> labels;  // frame -> label
    // Named frame ranges made from the labels: each runs up to the next label's frame.
    std::unordered_map<std::string, SpriteFrameRange> animations;
    std::vector<SpriteNodeDefinition> nodes;  // file order
};

} // namespace zor
