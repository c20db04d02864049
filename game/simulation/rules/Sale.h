#pragma once
// Selling what the player carries, with its tally: the slots go one by one from the last,
// the money arrives at once, then the experience banner counts the same amount into
// experience level by level, stopping at each level reached for its unlock banners and
// any camera pan, and the sale ends with one save. The player is locked (busy flag Sale)
// from the start to the end. Driven only by the Simulator's step, so it pauses with the
// game. Main thread.

#include "game/definitions/ExperienceDefinition.h"
#include "game/definitions/UpgradeDefinition.h"

#include <cstdint>
#include <vector>

namespace zor {

class Simulator;

class Sale {
public:
    // The states; each waits its step time before it acts.
    enum State : std::int32_t {
        Idle = 0,
        Start = 1,
        Selling = 2,
        CountingSetUp = 4,
        CountingPause = 8,
        Counting = 16,
        UnlockBanners = 32,
        NextLevel = 64,
        WaitingForCamera = 128,
        Finished = 256,
    };

    // Starts a sale of the carried slots, counted over `table`, which must outlive the
    // sale. Nothing happens with nothing carried or while a sale runs (a restart would drop
    // the value sold so far).
    void begin(Simulator& simulator, const ExperienceDefinition& table);
    void update(Simulator& simulator, float step);

    bool running() const { return m_state != Idle; }
    State state() const { return m_state; }

private:
    void refreshBanner(Simulator& simulator) const;
    void enter(State state, float stepTime);
    void sellLastSlot(Simulator& simulator);
    void finishSelling(Simulator& simulator);
    void pauseBeforeCounting();
    void count(Simulator& simulator, float step);
    void showNextUnlock(Simulator& simulator);
    void finish(Simulator& simulator);
    void queueSound(Simulator& simulator, const char* cue) const;

    const ExperienceDefinition* m_table = nullptr;
    State m_state = Idle;
    float m_value = 0.0f;       // sold and not yet counted into experience
    float m_timer = 0.0f;       // seconds in the current state
    float m_pulse = 0.0f;       // running time of the banner's pulse
    float m_stepTime = 0.0f;    // seconds the current state waits before it acts
    float m_rate = 0.0f;        // experience counted per second
    float m_shownExperience = 0.0f;
    float m_pulsePeriod = 0.0f;
    std::vector<UpgradeDefinition> m_unlockQueue;  // shown from the back
};

} // namespace zor
