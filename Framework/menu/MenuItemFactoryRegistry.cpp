#include "Framework/menu/MenuItemFactoryRegistry.h"

#include "Framework/menu/ButtonMenuItem.h"
#include "Framework/menu/CheckboxMenuItem.h"
#include "Framework/menu/LabelMenuItem.h"
#include "Framework/menu/LayoutMenuItem.h"
#include "Framework/menu/SliderMenuItem.h"

namespace zor {

MenuItemFactoryRegistry& MenuItemFactoryRegistry::instance() {
    static MenuItemFactoryRegistry registry;
    return registry;
}

const MenuItemFactory* MenuItemFactoryRegistry::find(const std::string& type) const {
    const auto found = m_factories.find(type);
    return found == m_factories.end() ? nullptr : &found->second;
}

void registerMenuItemTypes() {
    MenuItemFactoryRegistry& registry = MenuItemFactoryRegistry::instance();
    registry.addType<ButtonMenuItem>("button");
    registry.addType<CheckboxMenuItem>("checkbox");
    registry.addType<LabelMenuItem>("label");
    registry.addType<LayoutMenuItem>("layout");
    registry.addType<SliderMenuItem>("slider");
}

} // namespace zor
