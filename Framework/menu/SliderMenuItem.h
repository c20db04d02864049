#pragma once
// Layout type "slider": a value in [0, 1] shown as the child node "knob" on the line of the
// two-point shape "range". A press inside the hit area starts a drag; while dragging the
// slider follows the pointer but lets the input pass on to other items.

#include <vector>

#include "Framework/core/events/EventList.h"
#include "Framework/menu/AbstractMenuItem.h"

namespace zor {

class SliderMenuItem : public AbstractMenuItem {
public:
    SliderMenuItem(MenuItemContext* context, const std::string& name, const NameParameters* nameParameters,
                   AbstractMenuItem* parent);

    void update(const UpdateRecord& record) override;
    bool handleInput(InputState& input) override;

    // Clamped to [0, 1]; fires `changed` unless silent, and only on a real change.
    void setValue(float value, bool silent);
    float value() const { return m_value; }
    bool dragging() const { return m_dragging; }
    const fpVector2& rangeStart() const { return m_rangeStart; }
    const fpVector2& rangeEnd() const { return m_rangeEnd; }

    EventList<SliderMenuItem*> changed;
    bool highlighted = false;
    // Set by screens while the focused slider is adjusted with keys.
    bool grabbed = false;

private:
    void updateRange();
    void updateFrame();

    bool m_dragging = false;
    float m_value = 0.0f;
    fpVector2 m_rangeStart;
    fpVector2 m_rangeEnd;
    std::vector<fpVector2> m_rangePoints;
};

} // namespace zor
