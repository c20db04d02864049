#include "Framework/menu/AbstractMenuItem.h"

#include <cmath>
#include <limits>

#include "Framework/graphics/sprite/Sprite.h"
#include "Framework/graphics/sprite/SpriteDefinition.h"
#include "Framework/system/SystemComponents.h"

namespace zor {
namespace {

constexpr float NoPosition = std::numeric_limits<float>::max();
// Beyond this sum of both axis distances the node counts as moved.
constexpr float MoveTolerance = 0.0001f;
constexpr float ContentTolerance = 0.00001f;

const std::string AlignNames[] = {"align_nw", "align_n", "align_ne", "align_e",
                                  "align_se", "align_s", "align_sw", "align_w"};
constexpr int AlignAnchors[] = {8, 1, 2, 3, 4, 5, 6, 7};

// The edge bits a parameter's letters name, in the order north, south, west, east.
unsigned edgeBits(const std::string& letters, unsigned north) {
    if (letters == "all") return north * 15;
    unsigned bits = 0;
    if (letters.find('n') != std::string::npos) bits |= north;
    if (letters.find('s') != std::string::npos) bits |= north * 2;
    if (letters.find('w') != std::string::npos) bits |= north * 4;
    if (letters.find('e') != std::string::npos) bits |= north * 8;
    return bits;
}

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

bool near(const fpRect& a, const fpRect& b) {
    return std::fabs(a.x - b.x) <= ContentTolerance && std::fabs(a.y - b.y) <= ContentTolerance &&
           std::fabs(a.w - b.w) <= ContentTolerance && std::fabs(a.h - b.h) <= ContentTolerance;
}

fpVector2 worldPosition(const Sprite& node) {
    const Affine2D& world = node.worldPlacement();
    return {world.tx, world.ty};
}

// The first build of every hit polygon reads into this list (main thread only).
std::vector<fpVector2>& scratchPoints() {
    static std::vector<fpVector2> points;
    return points;
}

// How far each edge of the parent's content lies from its design rectangle.
struct EdgeMoves {
    float left, right, top, bottom;
};

// Moves the rectangle's edges that the bits name (1 north, 2 south, 4 west, 8 east).
void moveEdges(fpRect& rect, const EdgeMoves& moves, unsigned edges) {
    if (edges & 8) rect.w += moves.right;
    if (edges & 4) {
        rect.x += moves.left;
        rect.w -= moves.left;
    }
    if (edges & 2) rect.h += moves.bottom;
    if (edges & 1) {
        rect.y += moves.top;
        rect.h -= moves.top;
    }
}

} // namespace

std::string menuItemType(const std::string& name) { return name.substr(0, name.find('_')); }

AbstractMenuItem::AbstractMenuItem(AbstractMenuItem* parent, std::string name, MenuItemContext* context,
                                   const NameParameters* nameParameters)
    : m_parent(parent),
      m_context(context),
      m_name(std::move(name)),
      m_nameParameters(nameParameters),
      m_lastNodePosition(NoPosition, NoPosition) {
    bindNode();
    layout();
    readNameParameters();
}

AbstractMenuItem::~AbstractMenuItem() = default;

const NameParameters& AbstractMenuItem::nameParameters() const {
    static const NameParameters none;
    return m_nameParameters ? *m_nameParameters : none;
}

void AbstractMenuItem::readNameParameters() {
    for (int i = 0; i < 8; ++i) {
        if (hasNameParameter(AlignNames[i])) {
            m_anchor = AlignAnchors[i];
            break;
        }
    }
    std::string rest;
    if (getNameParameter("resize_", rest)) m_layoutFlags |= edgeBits(rest, ResizeNorth);
    if (getNameParameter("scale_", rest)) m_layoutFlags |= edgeBits(rest, ScaleNorth);
    if (hasNameParameter("uniform")) m_layoutFlags |= Uniform;
}

bool AbstractMenuItem::hasNameParameter(const std::string& text) const {
    for (const SettingValue& parameter : nameParameters()) {
        if (settingTextForm(parameter) == text) return true;
    }
    return false;
}

bool AbstractMenuItem::getNameParameter(const std::string& prefix, std::string& rest) const {
    for (const SettingValue& parameter : nameParameters()) {
        const std::string text = settingTextForm(parameter);
        if (startsWith(text, prefix)) {
            rest = text.substr(prefix.size());
            return true;
        }
    }
    return false;
}

void AbstractMenuItem::bindNode() {
    Sprite* layoutSprite = m_context->layoutSprite.get();
    if (m_name.empty()) {
        m_node = layoutSprite;
        return;
    }
    Sprite* under = m_parent && m_parent->m_node ? m_parent->m_node : layoutSprite;
    m_node = under ? under->findChild(m_name) : nullptr;
}

void AbstractMenuItem::rebindNodes() {
    bindNode();
    for (const auto& child : m_children) child->rebindNodes();
}

void AbstractMenuItem::setVisible(bool visible, bool recursive) {
    if (visible == m_visible) return;
    m_visible = visible;
    if (m_node) m_node->setEnabled(visible);
    if (!recursive) return;
    for (const auto& child : m_children) child->setVisible(visible, true);
}

AbstractMenuItem* AbstractMenuItem::findChild(const std::string& name, bool recursive) const {
    for (const auto& child : m_children) {
        if (child->m_name == name) return child.get();
        if (recursive) {
            if (AbstractMenuItem* found = child->findChild(name, true)) return found;
        }
    }
    return nullptr;
}

fpRect AbstractMenuItem::getHitBounds() const { return m_hitArea ? m_hitArea->worldBounds() : fpRect(); }

void AbstractMenuItem::update(const UpdateRecord& record) {
    if (!m_node) {
        m_lastNodePosition = {NoPosition, NoPosition};
        m_hitArea.reset();
        return;
    }
    layout();
    const fpVector2 position = worldPosition(*m_node);
    if (std::fabs(position.x - m_lastNodePosition.x) + std::fabs(position.y - m_lastNodePosition.y) >
        MoveTolerance) {
        m_lastNodePosition = position;
        rebuildHitArea();
    }
    for (const auto& child : m_children) child->update(record);
}

bool AbstractMenuItem::handleInput(InputState& input) {
    for (const auto& child : m_children) {
        if (child->m_visible && child->handleInput(input)) return true;
    }
    return false;
}

void AbstractMenuItem::draw() {
    // Item nodes belong to the layout tree and are drawn with it, in its depth order: only
    // the root item draws a node tree, so nothing is drawn twice.
    if (!m_parent && m_node && m_context->gameContext) m_node->draw(*m_context->gameContext->quadBatch);
    for (const auto& child : m_children) child->draw();
}

bool AbstractMenuItem::readHitShape(std::vector<fpVector2>& points, bool inWorld) const {
    points.clear();
    if (m_node->findCollisionShape("bounds", points, false, inWorld)) return true;
    return m_node->getHitShape(points, inWorld);
}

void AbstractMenuItem::rebuildHitArea() {
    if (!m_node) {
        m_hitArea.reset();
        return;
    }
    std::vector<fpVector2>& points = m_hitArea ? m_hitArea->vertices : scratchPoints();
    if (!readHitShape(points, true)) {
        m_hitArea.reset();
        return;
    }
    if (m_hitArea) {
        m_hitArea->refresh();
    } else {
        m_hitArea = std::make_shared<Polygon>(points);
    }
}

void AbstractMenuItem::layout() {
    if (!m_node) return;
    if (!m_parent) {
        m_node->setPosition(m_rect.x + m_rect.w / 2.0f, m_rect.y + m_rect.h / 2.0f);
        return;
    }
    const fpRect& content = m_parent->m_contentRect;
    if (near(m_lastParentContent, content)) return;
    Polygon shape;
    if (!readHitShape(shape.vertices, false)) return;
    shape.refresh();
    m_lastParentContent = content;

    const fpVector2 position = worldPosition(*m_node);
    m_rect = shape.localBounds;
    m_rect.x += position.x;
    m_rect.y += position.y;

    const SpriteNodeDefinition* design = m_node->nodeDefinition();
    const SpriteNodeState& state = m_node->localState();
    fpRect target(design ? design->x : state.x, design ? design->y : state.y,
                  (design ? design->scaleX : state.scaleX) * m_rect.w,
                  (design ? design->scaleY : state.scaleY) * m_rect.h);

    const fpRect& parentRect = m_parent->m_rect;
    fpRect grown = content;
    if (m_layoutFlags & Uniform) {
        if (parentRect.h != 0.0f) grown.expandToAspect(parentRect.w / parentRect.h);
    }
    const auto edges = [&](const fpRect& p) {
        return EdgeMoves{p.x - parentRect.x, p.right() - parentRect.right(), p.y - parentRect.y,
                         p.bottom() - parentRect.bottom()};
    };
    moveEdges(target, edges(grown), m_layoutFlags / ScaleNorth);

    // The anchor always follows the parent's content as it is, without the uniform growth.
    const auto plain = edges(content);
    const fpVector2 offsets[] = {{0.0f, 0.0f},          {0.0f, plain.top},         {plain.right, plain.top},
                                 {plain.right, 0.0f},   {plain.right, plain.bottom}, {0.0f, plain.bottom},
                                 {plain.left, plain.bottom}, {plain.left, 0.0f},   {plain.left, plain.top}};
    const fpVector2 offset = m_anchor >= 0 && m_anchor <= 8 ? offsets[m_anchor] : fpVector2();
    m_node->setPosition(target.x + offset.x, target.y + offset.y);
    if (m_rect.w > 0.0f && m_rect.h > 0.0f) m_node->setScale(target.w / m_rect.w, target.h / m_rect.h);
    m_node->update(0.0f, false);

    rebuildHitArea();
    if (!m_hitArea) return;
    m_contentRect = m_hitArea->worldBounds();
    moveEdges(m_contentRect, plain, m_layoutFlags);
}

} // namespace zor
