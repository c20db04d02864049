#pragma once
// Layout type "checkbox": each click flips `ticked` and announces it through `changed`.
// Frames: "disabled", else by ticked and highlighted: both "active", ticked "active_idle",
// highlighted "toggled", neither "idle". Holding it does not change its frame.

#include "Framework/core/events/EventList.h"
#include "Framework/menu/PressableMenuItem.h"

namespace zor {

class CheckboxMenuItem : public PressableMenuItem {
public:
    CheckboxMenuItem(MenuItemContext* context, const std::string& name, const NameParameters* nameParameters,
                     AbstractMenuItem* parent);

    void updateFrame() override;

    EventList<CheckboxMenuItem*> changed;
    bool ticked = false;
    // The rest of the name parameter "custom_...", for screens.
    std::string customName;

private:
    void click(const fpVector2& point) override;
};

} // namespace zor
