#pragma once
// The quest tracker: goals, banners and markers. The default tracks nothing.
//
// Plugged in by the game rules' quest tracker. Main thread.

#include <cstdint>
#include <string>

namespace zor {

class Simulator;

class QuestTracking {
public:
    virtual ~QuestTracking() = default;

    // Once per step, while no game over and no level change is pending.
    virtual void update(Simulator& simulator, float step);
    // Makes the quest at `index` (an index of the quest definitions) current with its hold
    // time reset and, when its goal is already met, advances past it. The default only
    // sets the progress's quest index.
    virtual void startQuest(Simulator& simulator, std::int32_t index);
    // The player activated a townsperson of this actor definition name. The default does
    // nothing.
    virtual void talkTo(Simulator& simulator, const std::string& npcName);
};

} // namespace zor
