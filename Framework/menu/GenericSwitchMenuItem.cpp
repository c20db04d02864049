#include "Framework/menu/GenericSwitchMenuItem.h"

#include <algorithm>

#include "Framework/graphics/sprite/Sprite.h"
#include "Framework/menu/MenuItemFactoryRegistry.h"
#include "Framework/menu/RefreshableText.h"

namespace zor {
namespace {

// Reused by every draw (main thread only).
std::vector<MenuItemDrawHook*>& scratchHooks() {
    static std::vector<MenuItemDrawHook*> hooks;
    return hooks;
}

} // namespace

GenericSwitchMenuItem::GenericSwitchMenuItem(MenuItemContext* context, const std::string& name,
                                             const NameParameters* nameParameters)
    : AbstractMenuItem(nullptr, name, context, nameParameters) {
    buildChildren(*this);
}

void GenericSwitchMenuItem::buildChildren(AbstractMenuItem& item) {
    Sprite* node = item.node();
    if (!node) return;
    const MenuItemFactoryRegistry& registry = MenuItemFactoryRegistry::instance();
    for (int i = 0; i < node->childCount(); ++i) {
        Sprite& childNode = node->child(i);
        const std::string& childName = childNode.name();
        const MenuItemFactory* factory = registry.find(menuItemType(childName));
        if (!factory) continue;
        std::shared_ptr<AbstractMenuItem> child = (*factory)(&context(), childName, &childNode.getNameParameters(), &item);
        if (!child) continue;
        m_items.push_back(child.get());
        m_firstByName.emplace(childName, child.get());
        const std::size_t parameters = childName.find("__");
        if (parameters != std::string::npos) m_firstByName.emplace(childName.substr(0, parameters), child.get());
        item.addChild(child);
        buildChildren(*child);
    }
}

AbstractMenuItem* GenericSwitchMenuItem::findItem(const std::string& name) const {
    const auto found = m_firstByName.find(name);
    return found == m_firstByName.end() ? nullptr : found->second;
}

void GenericSwitchMenuItem::setState(const std::string& name) {
    stateEnded.fire(m_stateName, true);
    m_stateName = name;
    bool animated = false;
    if (Sprite* own = node()) {
        own->setEnabled(true);
        const int first = own->getAnimationFirstFrame(name);
        if (first >= 0) {
            own->playFromFrame(static_cast<std::uint32_t>(first), true);
            m_lastFrame = first - 1;
            animated = true;
        }
    }
    stateStarted.fire(name);
    if (!animated) stateEnded.fire(name, false);
}

void GenericSwitchMenuItem::update(const UpdateRecord& record) {
    Sprite* own = node();
    if (!own) return;
    const int last = own->getAnimationLastFrame(m_stateName);
    if (last >= 0 && static_cast<int>(own->currentFrame()) >= last && m_lastFrame < last) {
        own->setFrame(static_cast<std::uint32_t>(last));
        own->update(0.0f, false);
        stateEnded.fire(m_stateName, false);
    }
    const int frame = static_cast<int>(own->currentFrame());
    if (frame != m_lastFrame) {
        m_lastFrame = frame;
        rebindNodes();
    }
    AbstractMenuItem::update(record);
}

void GenericSwitchMenuItem::draw() {
    AbstractMenuItem::draw();
    std::vector<MenuItemDrawHook*>& hooks = scratchHooks();
    const std::size_t start = hooks.size();
    for (AbstractMenuItem* item : m_items) {
        for (MenuItemDrawHook& hook : item->drawHooks()) {
            // An empty hook would throw in the middle of a render.
            if (hook.draw) hooks.push_back(&hook);
        }
    }
    std::sort(hooks.begin() + static_cast<std::ptrdiff_t>(start), hooks.end(),
              [](const MenuItemDrawHook* a, const MenuItemDrawHook* b) {
                  return a->order != b->order ? a->order < b->order : std::less<>()(a, b);
              });
    for (std::size_t i = start; i < hooks.size(); ++i) hooks[i]->draw();
    hooks.resize(start);
}

void GenericSwitchMenuItem::refreshTexts() {
    for (AbstractMenuItem* item : m_items) {
        if (auto* text = dynamic_cast<RefreshableText*>(item)) text->refreshText();
    }
}

} // namespace zor
