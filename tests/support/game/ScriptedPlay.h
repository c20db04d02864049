#pragma once
// A fixed round of play on the sample data, driven only through the harness's buttons and
// the lists the screens fire, so that the same seed plays the same way every time:
//   town:  the player settles, walks, jumps, asks for a save (as a purchase does), is put
//          at the mine's exit and taps "activate" until the mine is built;
//   mine:  it picks the pickaxe, digs down and sideways, walks, jumps, then cycles through
//          its tools and uses each (the round tops its tools up first);
//   out:   odd rounds climb out by the exit to the town (a save on leaving), even rounds
//          end in the player's death, and the game-over screen's continue leads to the town.
// A game over at any point skips to the continue. The script decides only on the game's
// state (level, game over, pending change), never on the clock.
//
// The recorders' call lists are read for the save count and emptied at the end of each
// round, so a long run holds no more than a round of them.

#include "tests/support/game/GameHarness.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace zor::test {

// The options scripted play runs with: the sample data starting in the town, a session
// with its save files, and the game's own rules, movement and contacts. The user folder
// (ZOR_USER_DIR) is the caller's.
HarnessOptions scriptedPlayOptions(std::uint32_t seed);

struct PlayTally {
    std::int32_t rounds = 0;
    std::int32_t levelChanges = 0;
    std::int32_t deaths = 0;
    std::int32_t saves = 0;        // the save seam's calls, files written or not
    std::int32_t exitChanges = 0;  // level changes the player's "activate" at an exit asked for
};

class ScriptedPlay {
public:
    // Turns on the game's own life and hit rules; the harness must start in the town.
    explicit ScriptedPlay(GameHarness& harness);

    void run(std::int32_t steps);
    const PlayTally& tally() const { return m_tally; }

private:
    struct Phase {
        std::int32_t steps;                            // how long; a phase with `until` waits at most this
        std::vector<std::string> hold;                 // held while the phase runs
        std::vector<std::string> taps;                 // each pressed for a step, in turn, 10 steps apart
        std::function<void()> begin;                   // optional
        std::function<bool()> until;                   // optional: ends the phase early
    };

    void buildRound();
    void step();
    void enter(std::size_t phase);
    void leave();
    void endRound();
    bool inLevel(const std::string& name);
    void putPlayerAtExitTo(const std::string& level);
    void topUpTools();
    void countSaves();

    GameHarness& m_harness;
    std::vector<Phase> m_phases;
    std::size_t m_phase = 0;
    std::size_t m_continuePhase = 0;
    std::int32_t m_inPhase = 0;
    std::size_t m_savesCounted = 0;  // of the seams' call list
    std::string m_tapped;
    std::string m_lastLevel;
    bool m_wasOver = false;
    bool m_changeByExit = false;
    PlayTally m_tally;
};

} // namespace zor::test
