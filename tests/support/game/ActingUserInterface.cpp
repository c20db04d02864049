#include "tests/support/game/ActingUserInterface.h"

#include "game/definitions/ConversationDefinition.h"
#include "game/definitions/UpgradeDefinition.h"
#include "game/world/progress/ItemCountMap.h"

#include <utility>

namespace zor::test {

void ActingUserInterface::update(const UpdateRecord& record) {
    RecordingUserInterface::update(record);
    // Ending one may start the next, which then ends at the following update.
    std::vector<std::string> ending = std::exchange(m_openConversations, {});
    for (const std::string& name : ending)
        if (const auto definition = conversationRegistry().find(name)) m_world.conversationEnded.fire(definition.get());
    if (m_gameOver == GameOverScreen::Opened) {
        m_gameOver = GameOverScreen::Shown;
    } else if (m_gameOver == GameOverScreen::Shown) {
        m_gameOver = GameOverScreen::Closed;
        gameOverClosed.fireNoArgs();
    }
}

void ActingUserInterface::startConversation(const std::string& conversationName) {
    RecordingUserInterface::startConversation(conversationName);
    m_openConversations.push_back(conversationName);
}

EventList<>& ActingUserInterface::showGameOver(std::int32_t lostCash) {
    m_gameOver = GameOverScreen::Opened;
    return RecordingUserInterface::showGameOver(lostCash);
}

bool buyUpgrade(World& world, const std::string& upgrade) {
    const auto definition = findUpgradeDefinitionOrNull(upgrade);
    if (!definition) return false;
    PlayerProgress& progress = world.progress;
    const std::int32_t owned = itemCount(upgrade, progress.items);
    if (owned >= definition->limit) return false;
    const UpgradeDefinition::Tier& tier = definition->tier(owned + 1);
    if (progress.cash < tier.goldCost || progress.orbs < tier.orbCost) return false;
    progress.cash -= tier.goldCost;
    progress.orbs -= tier.orbCost;
    progress.items.counts[upgrade] = owned + 1;
    world.itemGained.fire(upgrade);
    world.saveRequested.fireNoArgs();
    return true;
}

} // namespace zor::test
