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
    // The last quest becomes current, its hold time restarted (the end of the story).
    virtual void finishQuests(Simulator& simulator);
    // The player activated an actor of this definition name: the conversation it offers.
    virtual void talkTo(Simulator& simulator, const std::string& npcName);
};

} // namespace zor
