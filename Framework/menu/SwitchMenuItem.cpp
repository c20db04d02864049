#include "Framework/menu/SwitchMenuItem.h"

namespace zor {
namespace {

const std::string StateNames[] = {"idle", "intro", "outro", ""};

} // namespace

SwitchMenuItem::SwitchMenuItem(MenuItemContext* context, const std::string& name,
                               const NameParameters* nameParameters)
    : GenericSwitchMenuItem(context, name, nameParameters) {
    m_connections.push_back(stateStarted.connect(this, &SwitchMenuItem::onStateStarted));
    m_connections.push_back(stateEnded.connect(this, &SwitchMenuItem::onStateEnded));
}

int SwitchMenuItem::stateIndex(const std::string& name) {
    for (int i = Idle; i < NoState; ++i) {
        if (StateNames[i] == name) return i;
    }
    return NoState;
}

const std::string& SwitchMenuItem::stateNameOf(int index) {
    return index >= Idle && index < NoState ? StateNames[index] : StateNames[NoState];
}

void SwitchMenuItem::onStateStarted(const std::string& name) {
    m_stateIndex = stateIndex(name);
    stateStartedIndex.fire(m_stateIndex);
}

void SwitchMenuItem::onStateEnded(const std::string& name, bool interrupted) {
    const int index = stateIndex(name);
    if (!interrupted && index == Intro) setState(StateNames[Idle]);
    stateFinishedIndex.fire(index);
}

} // namespace zor
