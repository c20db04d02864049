#pragma once
// The item classes by layout type name (the node name up to its first "_"). The engine
// registers its own kinds at start-up and the game adds its kinds with the same registry;
// registering a name again replaces its factory. Main thread only.

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>

#include "Framework/menu/AbstractMenuItem.h"

namespace zor {

using MenuItemFactory = std::function<std::shared_ptr<AbstractMenuItem>(
    MenuItemContext* context, const std::string& name, const NameParameters* nameParameters,
    AbstractMenuItem* parent)>;

class MenuItemFactoryRegistry {
public:
    static MenuItemFactoryRegistry& instance();

    void add(const std::string& type, MenuItemFactory factory) { m_factories[type] = std::move(factory); }
    // Null when the type has no factory.
    const MenuItemFactory* find(const std::string& type) const;

    template <class Item>
    void addType(const std::string& type) {
        add(type, [](MenuItemContext* context, const std::string& name, const NameParameters* parameters,
                     AbstractMenuItem* parent) -> std::shared_ptr<AbstractMenuItem> {
            return std::make_shared<Item>(context, name, parameters, parent);
        });
    }

private:
    std::unordered_map<std::string, MenuItemFactory> m_factories;
};

// "button", "checkbox", "label", "layout" and "slider".
void registerMenuItemTypes();

} // namespace zor
