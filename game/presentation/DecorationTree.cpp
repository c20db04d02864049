#include "game/presentation/DecorationTree.h"

#include "Framework/graphics/sprite/Sprite.h"
#include "game/world/SharedConstants.h"

namespace zor::presentation {

struct DecorationTree::Node {
    explicit Node(const fpRect& area)
        : rect(area), contents(area.x + 10 * area.w, area.y + 10 * area.h, -19 * area.w, -19 * area.h) {}

    fpRect rect;
    fpRect contents;  // the union of the items' bounds; an inside-out rectangle while empty
    std::unique_ptr<Node> left;
    std::unique_ptr<Node> right;
    std::vector<DrawEntry> items;
};

namespace {

// The two halves of a rectangle, split across its longer side.
fpRect halfOf(const fpRect& rect, bool second) {
    if (rect.h < rect.w) {
        const float w = rect.w / 2;
        return {second ? rect.x + w : rect.x, rect.y, w, rect.h};
    }
    const float h = rect.h / 2;
    return {rect.x, second ? rect.y + h : rect.y, rect.w, h};
}

} // namespace

DecorationTree::DecorationTree(const fpRect& area, float minimumNodeSize)
    : m_root(std::make_unique<Node>(area)), m_minimumNodeSize(minimumNodeSize) {}

DecorationTree::~DecorationTree() = default;

void DecorationTree::insert(const DrawEntry& entry, const fpRect& bounds) {
    Node* node = m_root.get();
    for (;;) {
        if (node->left && rectInside(bounds, node->left->rect)) {
            node = node->left.get();
            continue;
        }
        if (node->right && rectInside(bounds, node->right->rect)) {
            node = node->right.get();
            continue;
        }
        const auto fits = [&](const fpRect& part) {
            return part.w >= m_minimumNodeSize && part.h >= m_minimumNodeSize && rectInside(bounds, part);
        };
        // A missing half that holds the bounds becomes a child, the first half first.
        Node* child = nullptr;
        for (std::unique_ptr<Node>* half : {&node->left, &node->right}) {
            const fpRect part = halfOf(node->rect, half == &node->right);
            if (*half || !fits(part)) continue;
            *half = std::make_unique<Node>(part);
            child = half->get();
            break;
        }
        if (child) {
            node = child;
            continue;
        }
        node->contents.unite(bounds);  // an inside-out rectangle gives way to the bounds
        node->items.push_back(entry);
        return;
    }
}

template <class Visit>
void DecorationTree::visit(const Node* node, const fpRect& rectangle, Visit& visitItems) {
    while (node && rectsOverlap(rectangle, node->rect)) {
        if (rectsOverlap(rectangle, node->contents)) visitItems(*node);
        if (node->left) visit(node->left.get(), rectangle, visitItems);
        node = node->right.get();
    }
}

void DecorationTree::collect(const fpRect& rectangle, std::vector<DrawEntry>& list) const {
    const auto collectItems = [&](const Node& node) {
        for (const DrawEntry& item : node.items) {
            if (item.kind == DrawEntry::DecalKind && !rectsOverlap(item.asDecal().bounds, rectangle)) continue;
            list.push_back(item);
            list.back().order = std::uint32_t(list.size() - 1);
        }
    };
    visit(m_root.get(), rectangle, collectItems);
}

void DecorationTree::updateSprites(const fpRect& rectangle, float step) const {
    const auto updateItems = [&](const Node& node) {
        for (const DrawEntry& item : node.items)
            if (item.kind == DrawEntry::SpriteKind) item.asSprite().update(step, false);
    };
    visit(m_root.get(), rectangle, updateItems);
}

} // namespace zor::presentation
