#pragma once
// The game's quest tracker behind the Simulator's QuestTracking seam. The tracker is made
// at its first use on the main thread, over the registered quests and the level links of
// the patch library in use then.

#include "game/simulation/quest/QuestTracker.h"
#include "game/simulation/seams/QuestTracking.h"

#include <memory>

namespace zor {

class TrackedQuests final : public QuestTracking {
public:
    void update(Simulator& simulator, float step) override;
    void startQuest(Simulator& simulator, std::int32_t index) override;
    void finishQuests(Simulator& simulator) override;
    void talkTo(Simulator& simulator, const std::string& npcName) override;

private:
    QuestTracker& tracker(Simulator& simulator);

    std::unique_ptr<QuestTracker> m_tracker;
};

} // namespace zor
