// The Simulator's entries into the game rules and the quest tracker, for the level
// scripts, the object simulation and the boss.

#include "game/simulation/Simulator.h"

#include "game/simulation/ports/UserInterface.h"
#include "game/simulation/seams/GameRules.h"
#include "game/simulation/seams/QuestTracking.h"

namespace zor {

void Simulator::sellInventory() {
    m_rules->sellInventory(*this);
}

bool Simulator::saleRunning() const {
    return m_rules->saleRunning();
}

void Simulator::flashWaterBar() {
    m_userInterface.flashStatusBar(StatusBar::Water);
}

void Simulator::finishQuests() {
    m_quests->finishQuests(*this);
}

void Simulator::talkTo(const std::string& npcName) {
    m_quests->talkTo(*this, npcName);
}

} // namespace zor
