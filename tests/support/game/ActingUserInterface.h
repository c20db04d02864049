#pragma once
// The recording interface answering as the in-game screens will, so that a scripted game
// plays on without a player at the screens: every conversation ends at the interface's
// next update, and the game-over screen, shown for the rest of the step that opened it, is
// continued from at the update of the step after. Both answers come on the main thread, as
// the screens give them.

#include "tests/support/game/RecordingPorts.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zor::test {

class ActingUserInterface final : public RecordingUserInterface {
public:
    ActingUserInterface(Recordings& recordings, World& world) : RecordingUserInterface(recordings), m_world(world) {}

    void update(const UpdateRecord& record) override;
    void startConversation(const std::string& conversationName) override;
    EventList<>& showGameOver(std::int32_t lostCash) override;

private:
    enum class GameOverScreen { Closed, Opened, Shown };

    World& m_world;
    std::vector<std::string> m_openConversations;
    GameOverScreen m_gameOver = GameOverScreen::Closed;
};

// Buys the next tier of an upgrade as the shop will: pays its price in money and orbs,
// raises the upgrade's count, tells the game through itemGained with the upgrade's name and
// asks for a save. False, and nothing changed, when the upgrade is unknown, at its limit or
// not affordable.
bool buyUpgrade(World& world, const std::string& upgrade);

} // namespace zor::test
