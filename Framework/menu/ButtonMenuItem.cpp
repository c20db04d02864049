#include "Framework/menu/ButtonMenuItem.h"

#include "Framework/menu/MenuNames.h"

namespace zor {

ButtonMenuItem::ButtonMenuItem(MenuItemContext* context, const std::string& name,
                               const NameParameters* nameParameters, AbstractMenuItem* parent)
    : PressableMenuItem(context, name, nameParameters, parent) {
    updateFrame();
}

void ButtonMenuItem::updateFrame() {
    if (disabled) return showFrame(menu::FrameDisabled);
    if (active) return showFrame(menu::FrameActive);
    showFrame(highlighted ? menu::FrameToggled : menu::FrameIdle);
}

void ButtonMenuItem::click(const fpVector2& point) {
    playSound();
    ButtonPressEvent event{this, point.x, point.y};
    pressed.fire(&event);
}

} // namespace zor
