#include "Framework/menu/PressableMenuItem.h"

#include "Framework/audio/AudioHandler.h"
#include "Framework/graphics/sprite/Sprite.h"
#include "Framework/menu/MenuNames.h"
#include "Framework/menu/MenuPointer.h"

namespace zor {

PressableMenuItem::PressableMenuItem(MenuItemContext* context, const std::string& name,
                                     const NameParameters* nameParameters, AbstractMenuItem* parent)
    : AbstractMenuItem(parent, name, context, nameParameters), sound(menu::CueOk) {}

bool PressableMenuItem::handleInput(InputState& input) {
    if (disabled || !visible()) return false;
    const Polygon* area = hitArea().get();
    if (!area) return active;
    const MenuPointer pointer = MenuPointer::read(input);
    if (pointer.released && (active || pointer.tapped)) {
        const fpVector2 point = active ? pointer.releasePosition : pointer.tapPosition;
        active = false;
        updateFrame();
        if (area->contains(point)) {
            click(point);
            return true;
        }
    }
    if (pointer.held && (active || pointer.wentDown) && area->contains(pointer.position)) {
        active = true;
        updateFrame();
        return true;
    }
    return active;
}

void PressableMenuItem::playSound() const {
    if (!sound.empty() && AudioHandler::exists()) AudioHandler::instance().playCue(sound, 0, 0.0f, 1.0f, 1.0f);
}

void PressableMenuItem::showFrame(const char* frame) {
    if (node()) node()->setFrameByName(frame);
}

} // namespace zor
