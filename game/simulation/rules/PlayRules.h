#pragma once
// The game's own rules behind the Simulator's GameRules seam: the sale and its experience,
// what a gained item or a discard does, the achievement counters, and the debug commands
// of categories "game" and "upgrade".

#include "game/simulation/rules/GameDebugCommands.h"
#include "game/simulation/rules/Sale.h"
#include "game/simulation/seams/GameRules.h"

namespace zor {

class PlayRules final : public GameRules {
public:
    void onItemGained(Simulator& simulator, const std::string& name) override;
    void onDiscardRequested(Simulator& simulator, std::int32_t slot) override;
    void onConversationEnded(Simulator& simulator, const ConversationDefinition* conversation) override;
    void serveDebugCommands(Simulator& simulator) override;
    void sellInventory(Simulator& simulator) override;
    bool saleRunning() const override { return m_sale.running(); }
    void updateSale(Simulator& simulator, float step) override;
    void applyPlayerUpgrades(Simulator& simulator, ActorObject& player) override;
    std::int32_t pouchCapacity(Simulator& simulator) override;

private:
    GameDebugCommands m_debugCommands;
    Sale m_sale;
};

} // namespace zor
