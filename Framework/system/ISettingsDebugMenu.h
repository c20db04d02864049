#pragma once
// What the engine holds of the settings debug menu, which the game makes: a surface that
// pages through the settings, remembers its page and announces that the user closed it.

#include "Framework/core/events/EventList.h"
#include "Framework/system/surface/AbstractSurface.h"

#include <cstdint>

namespace zor {

class ISettingsDebugMenu : public AbstractSurface {
public:
    // The page shown now; the next menu starts there.
    virtual std::int32_t pagePosition() const = 0;

    // Fired when the user closes the menu; the engine deletes it in its next step.
    EventList<> closed;
};

} // namespace zor
