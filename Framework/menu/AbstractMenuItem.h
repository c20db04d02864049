#pragma once
// A widget bound to one node of a menu's layout sprite. The item takes its hit area from a
// shape of that node, keeps the node anchored and stretched against its parent's content
// rectangle when the visible area differs from the design size, and passes input and
// drawing down its children.
//
// A node name is "<type>_<name>__<parameter>__<parameter>...". The parameters an item
// reads itself: "align_<n|ne|e|se|s|sw|w|nw>" (the edge or corner it keeps to),
// "resize_<letters or all>" (widen the content rectangle its children see),
// "scale_<letters or all>" (stretch the node), and "uniform" (the parent's content is
// first grown to the aspect of the parent's design rectangle).

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Framework/core/math/Rect.h"
#include "Framework/core/math/Vector.h"
#include "Framework/core/memory/Polygon.h"
#include "Framework/core/settings/SettingValue.h"
#include "Framework/menu/MenuItemContext.h"

namespace zor {

class InputState;
class Sprite;
struct UpdateRecord;

// Something drawn over the whole sprite tree; hooks run in ascending order.
struct MenuItemDrawHook {
    int order = 0;
    std::function<void()> draw;
};

using NameParameters = std::vector<SettingValue>;

class AbstractMenuItem {
public:
    enum LayoutFlag : unsigned {
        ResizeNorth = 1,
        ResizeSouth = 2,
        ResizeWest = 4,
        ResizeEast = 8,
        ScaleNorth = 16,
        ScaleSouth = 32,
        ScaleWest = 64,
        ScaleEast = 128,
        Uniform = 256,
    };

    // Binds the node named `name` under the parent's node (the layout sprite itself for an
    // empty name), lays it out once, then reads the name parameters.
    AbstractMenuItem(AbstractMenuItem* parent, std::string name, MenuItemContext* context,
                     const NameParameters* nameParameters);
    virtual ~AbstractMenuItem() = 0;
    AbstractMenuItem(const AbstractMenuItem&) = delete;
    AbstractMenuItem& operator=(const AbstractMenuItem&) = delete;

    virtual void update(const UpdateRecord& record);
    // True when the item or one of its shown children took the input.
    virtual bool handleInput(InputState& input);
    virtual void draw();

    bool hasNameParameter(const std::string& text) const;
    // The rest after `prefix` of the first parameter that starts with it.
    bool getNameParameter(const std::string& prefix, std::string& rest) const;

    // Binds the node again on this item and every item below it, as a new frame may show
    // other nodes.
    void rebindNodes();
    // Also shows or hides the node; a hidden item is offered no input.
    void setVisible(bool visible, bool recursive);
    // The first child of the name; with `recursive`, each child's subtree is searched right
    // after the child.
    AbstractMenuItem* findChild(const std::string& name, bool recursive) const;
    // The hit area placed on the screen; all zeros without one.
    fpRect getHitBounds() const;

    void addChild(std::shared_ptr<AbstractMenuItem> child) { m_children.push_back(std::move(child)); }
    const std::vector<std::shared_ptr<AbstractMenuItem>>& children() const { return m_children; }
    AbstractMenuItem* parent() const { return m_parent; }
    const std::string& name() const { return m_name; }
    Sprite* node() const { return m_node; }
    bool visible() const { return m_visible; }
    int anchor() const { return m_anchor; }
    unsigned layoutFlags() const { return m_layoutFlags; }
    const std::shared_ptr<Polygon>& hitArea() const { return m_hitArea; }
    const fpRect& rect() const { return m_rect; }
    void setRect(const fpRect& rect) { m_rect = rect; }
    const fpRect& contentRect() const { return m_contentRect; }
    void setContentRect(const fpRect& rect) { m_contentRect = rect; }
    MenuItemContext& context() const { return *m_context; }
    std::vector<MenuItemDrawHook>& drawHooks() { return m_drawHooks; }

protected:
    const NameParameters& nameParameters() const;

private:
    void bindNode();
    void readNameParameters();
    void layout();
    // Reads the node's "bounds" shape, else its hit shape, into `points`.
    bool readHitShape(std::vector<fpVector2>& points, bool inWorld) const;
    void rebuildHitArea();

    std::vector<std::shared_ptr<AbstractMenuItem>> m_children;
    AbstractMenuItem* m_parent;
    fpRect m_rect;
    fpRect m_contentRect;
    std::vector<MenuItemDrawHook> m_drawHooks;
    MenuItemContext* m_context;
    std::string m_name;
    // Only read while the item is built.
    const NameParameters* m_nameParameters;
    int m_anchor = 0;
    unsigned m_layoutFlags = 0;
    std::shared_ptr<Polygon> m_hitArea;
    fpVector2 m_lastNodePosition;
    fpRect m_lastParentContent{-1.0f, -1.0f, -1.0f, -1.0f};
    Sprite* m_node = nullptr;
    bool m_visible = true;
};

// The type word of a node name: the text before its first "_", the whole name without one.
std::string menuItemType(const std::string& name);

} // namespace zor
