#include "game/simulation/quest/TrackedQuests.h"

#include "game/simulation/Simulator.h"

namespace zor {

void TrackedQuests::update(Simulator& simulator, float step) {
    tracker(simulator).update(step, simulator.saleRunning());
}

void TrackedQuests::startQuest(Simulator& simulator, std::int32_t index) {
    tracker(simulator).setQuest(index);
}

void TrackedQuests::finishQuests(Simulator& simulator) {
    tracker(simulator).finishQuests();
}

void TrackedQuests::talkTo(Simulator& simulator, const std::string& npcName) {
    tracker(simulator).talkTo(npcName);
}

QuestTracker& TrackedQuests::tracker(Simulator& simulator) {
    if (!m_tracker) m_tracker = std::make_unique<QuestTracker>(simulator.world(), simulator.userInterface());
    return *m_tracker;
}

} // namespace zor
