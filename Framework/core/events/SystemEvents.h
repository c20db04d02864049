#pragma once
// The process-wide event lists. Created at start-up, kept until the process
// ends; connected to and fired on the main thread only.

#include "Framework/core/AbstractSingleton.h"
#include "Framework/core/events/EventList.h"

namespace zor {

class SystemEvents : public AbstractSingleton<SystemEvents> {
public:
    SystemEvents() = default;

    // Members are destroyed in reverse order, and each list disconnects its
    // listeners as it goes.
    EventList<> focusLost;           // the window lost the input focus
    EventList<> focusGained;         // the window gained the input focus
    EventList<> shutdown;            // after the main loop and the work queues are gone
    EventList<> screenChanged;       // the window size or mode changed
    EventList<> gamepadConnected;    // a game controller was opened
    EventList<> gamepadDisconnected; // the open game controller was detached and closed
    EventList<> fullscreenToggled;   // Alt+Enter changed "Screen.Fullscreen"
};

} // namespace zor
