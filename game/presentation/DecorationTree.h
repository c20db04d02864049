#pragma once
// The static decorations of a level (decals and level sprites) in a binary partition of
// the main layer's world rectangle, so that a frame visits only the nodes under the view.
// An item sits in the deepest node whose rectangle holds its bounds; nodes are not split
// below the minimum size.

#include "Framework/core/math/Rect.h"
#include "Framework/graphics/batch/Quad.h"
#include "game/presentation/DrawEntry.h"

#include <memory>
#include <vector>

namespace zor {
class Texture;
}

namespace zor::presentation {

// A level decal, ready for the world quads.
struct Decal {
    std::int32_t priority = 0;
    Quad quad{};
    const Texture* texture = nullptr;
    fpRect bounds;  // world pixels, grown by the perspective margin
};

class DecorationTree {
public:
    // `minimumNodeSize`: no node is made with a side below it.
    DecorationTree(const fpRect& area, float minimumNodeSize);
    ~DecorationTree();
    DecorationTree(const DecorationTree&) = delete;
    DecorationTree& operator=(const DecorationTree&) = delete;

    void insert(const DrawEntry& entry, const fpRect& bounds);
    // Appends the items of the nodes the rectangle overlaps, each with its order set to the
    // list's length; a decal only when its own bounds overlap the rectangle too.
    void collect(const fpRect& rectangle, std::vector<DrawEntry>& list) const;
    // Updates the sprites of the nodes the rectangle overlaps by the step.
    void updateSprites(const fpRect& rectangle, float step) const;

private:
    struct Node;
    // From the node down: each node the rectangle overlaps, its items when the rectangle
    // overlaps their bounds too.
    template <class Visit>
    static void visit(const Node* node, const fpRect& rectangle, Visit& visitItems);

    std::unique_ptr<Node> m_root;
    float m_minimumNodeSize;
};

} // namespace zor::presentation
