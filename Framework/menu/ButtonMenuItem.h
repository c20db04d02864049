#pragma once
// Layout type "button": announces a click through `pressed`. Frames: "disabled", else
// "active" while held, else "toggled" when highlighted, else "idle".

#include "Framework/core/events/EventList.h"
#include "Framework/menu/PressableMenuItem.h"

namespace zor {

class ButtonMenuItem;

// Lives on the stack while `pressed` fires.
struct ButtonPressEvent {
    ButtonMenuItem* button = nullptr;
    float x = 0.0f;
    float y = 0.0f;
};

class ButtonMenuItem : public PressableMenuItem {
public:
    ButtonMenuItem(MenuItemContext* context, const std::string& name, const NameParameters* nameParameters,
                   AbstractMenuItem* parent);

    void updateFrame() override;

    EventList<ButtonPressEvent*> pressed;

private:
    void click(const fpVector2& point) override;
};

} // namespace zor
