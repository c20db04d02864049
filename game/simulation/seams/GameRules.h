#pragma once
// The Simulator's rules besides the level flow: selling and experience, the handlers of
// the World's item, discard and conversation lists, found secrets, the debug commands of
// the game, and the player's upgrades. The defaults change nothing.
//
// Plugged in by the game rules (selling, experience, upgrades). Main thread, except
// applyPlayerUpgrades and pouchCapacity, which the level flow calls inside its builds
// (on the worker while the Game is built or changes level).

#include <cstdint>
#include <string>

namespace zor {

class ActorObject;
class Simulator;
struct ConversationDefinition;

class GameRules {
public:
    virtual ~GameRules() = default;

    // Listeners of the World's itemGained, discardRequested and conversationEnded lists.
    virtual void onItemGained(Simulator& simulator, const std::string& name);
    virtual void onDiscardRequested(Simulator& simulator, std::int32_t slot);
    virtual void onConversationEnded(Simulator& simulator, const ConversationDefinition* conversation);
    // The light revealed a secret cell.
    virtual void onSecretFound(Simulator& simulator);
    // The debug commands of categories "game" and "upgrade", served early in each step.
    virtual void serveDebugCommands(Simulator& simulator);
    // Starts selling what the player carries (a prospector's talk, the level scripts).
    virtual void sellInventory(Simulator& simulator);
    virtual bool saleRunning() const;
    // The running sale, late in each step.
    virtual void updateSale(Simulator& simulator, float step);
    // The player's definition with the owned upgrades applied; on every level start.
    virtual void applyPlayerUpgrades(Simulator& simulator, ActorObject& player);
    // The inventory's slot capacity the owned pouches give; the default keeps the present
    // one. Read at the first build of a game.
    virtual std::int32_t pouchCapacity(Simulator& simulator);
};

} // namespace zor
