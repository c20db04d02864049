#pragma once
// Layout type "layout": a container that only groups and anchors its children.

#include "Framework/menu/AbstractMenuItem.h"

namespace zor {

class LayoutMenuItem : public AbstractMenuItem {
public:
    LayoutMenuItem(MenuItemContext* context, const std::string& name, const NameParameters* nameParameters,
                   AbstractMenuItem* parent)
        : AbstractMenuItem(parent, name, context, nameParameters) {}
};

} // namespace zor
