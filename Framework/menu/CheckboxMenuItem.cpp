#include "Framework/menu/CheckboxMenuItem.h"

#include "Framework/menu/MenuNames.h"

namespace zor {

CheckboxMenuItem::CheckboxMenuItem(MenuItemContext* context, const std::string& name,
                                   const NameParameters* nameParameters, AbstractMenuItem* parent)
    : PressableMenuItem(context, name, nameParameters, parent) {
    updateFrame();
    getNameParameter("custom_", customName);
}

void CheckboxMenuItem::updateFrame() {
    if (disabled) return showFrame(menu::FrameDisabled);
    if (ticked) return showFrame(highlighted ? menu::FrameActive : menu::FrameActiveIdle);
    showFrame(highlighted ? menu::FrameToggled : menu::FrameIdle);
}

void CheckboxMenuItem::click(const fpVector2&) {
    ticked = !ticked;
    updateFrame();
    playSound();
    changed.fire(this);
}

} // namespace zor
