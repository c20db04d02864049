#pragma once
// The root of every menu: a switch whose states "idle", "intro" and "outro" have the indices
// 0, 1 and 2 (any other name 3). An intro that runs to its end enters "idle" by itself, so
// a menu sees: intro finished, idle started, intro finished.

#include <vector>

#include "Framework/menu/GenericSwitchMenuItem.h"

namespace zor {

class SwitchMenuItem : public GenericSwitchMenuItem {
public:
    enum State : int { Idle = 0, Intro = 1, Outro = 2, NoState = 3 };

    SwitchMenuItem(MenuItemContext* context, const std::string& name, const NameParameters* nameParameters);

    static int stateIndex(const std::string& name);
    static const std::string& stateNameOf(int index);
    int stateIndex() const { return m_stateIndex; }

    EventList<int> stateStartedIndex;
    EventList<int> stateFinishedIndex;

private:
    void onStateStarted(const std::string& name);
    void onStateEnded(const std::string& name, bool interrupted);

    int m_stateIndex = NoState;
    std::vector<EventConnection> m_connections;
};

} // namespace zor
