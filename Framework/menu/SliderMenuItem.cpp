#include "Framework/menu/SliderMenuItem.h"

#include <algorithm>

#include "Framework/core/math/Segment.h"
#include "Framework/graphics/sprite/Sprite.h"
#include "Framework/menu/MenuNames.h"
#include "Framework/menu/MenuPointer.h"

namespace zor {

SliderMenuItem::SliderMenuItem(MenuItemContext* context, const std::string& name,
                               const NameParameters* nameParameters, AbstractMenuItem* parent)
    : AbstractMenuItem(parent, name, context, nameParameters) {
    updateRange();
    updateFrame();
}

void SliderMenuItem::updateRange() {
    m_rangePoints.clear();
    if (node() && node()->findCollisionShape("range", m_rangePoints, true, true) && m_rangePoints.size() == 2) {
        m_rangeStart = m_rangePoints[0];
        m_rangeEnd = m_rangePoints[1];
        return;
    }
    m_rangeStart = m_rangeEnd = fpVector2();
}

void SliderMenuItem::updateFrame() {
    if (!node()) return;
    const char* frame = m_dragging || grabbed ? menu::FrameActive : highlighted ? menu::FrameToggled : menu::FrameIdle;
    node()->setFrameByName(frame);
    Sprite* knob = node()->findDescendant("knob");
    if (!knob) return;
    knob->setFrameByName(frame);
    const fpVector2 onScreen = m_rangeStart + (m_rangeEnd - m_rangeStart) * m_value;
    fpMatrix4 toNode;
    node()->worldMatrix().inverse(toNode);
    knob->setPosition(toNode[0] * onScreen.x + toNode[4] * onScreen.y + toNode[12],
                      toNode[1] * onScreen.x + toNode[5] * onScreen.y + toNode[13]);
}

void SliderMenuItem::setValue(float value, bool silent) {
    const float clamped = std::clamp(value, 0.0f, 1.0f);
    if (clamped == m_value) return;
    m_value = clamped;
    if (!silent) changed.fire(this);
}

bool SliderMenuItem::handleInput(InputState& input) {
    const Polygon* area = hitArea().get();
    if (!area) return false;
    const MenuPointer pointer = MenuPointer::read(input);
    if (pointer.held) {
        if (m_dragging) {
            setValue(segmentParameter(fpSegment(m_rangeStart, m_rangeEnd), pointer.position), false);
        } else if (pointer.wentDown && area->contains(pointer.position)) {
            m_dragging = true;
            return true;
        }
    }
    if (pointer.released) m_dragging = false;
    return false;
}

void SliderMenuItem::update(const UpdateRecord& record) {
    AbstractMenuItem::update(record);
    updateRange();
    updateFrame();
}

} // namespace zor
