#pragma once
// The game's leaderboards, read from "Definitions/leaderboards.xml" at start-up. Each one
// read is announced on leaderboardRegistered, so that the store mirror can find or create
// it; scores the game submits for a known leaderboard go out on leaderboardScoreUpload.
// Main thread only.

#include "Framework/core/events/EventList.h"
#include "Framework/store/Leaderboard.h"

#include <string>
#include <unordered_map>

namespace zor {

class LeaderboardDefinitions {
public:
    using RegisteredEvent = EventList<LeaderboardDefinition>;
    using ScoreUploadEvent = EventList<LeaderboardDefinition, LeaderboardScoreRecord>;

    static constexpr const char* FileName = "Definitions/leaderboards.xml";

    LeaderboardDefinitions() = default;
    LeaderboardDefinitions(const LeaderboardDefinitions&) = delete;
    LeaderboardDefinitions& operator=(const LeaderboardDefinitions&) = delete;

    // Reads the file; a later definition of a name replaces the earlier one. Any failure
    // (missing or malformed file, no "Leaderboards", a "Leaderboard" without "Name") throws
    // CheckReleaseError "Could not load leaderboards definition, " + the reason, keeping the
    // definitions read before it.
    void load();

    // Fires leaderboardScoreUpload when the score's leaderboard is known; drops it otherwise.
    void uploadScore(const LeaderboardScore& score);

    const LeaderboardDefinition* find(const std::string& name) const;

    RegisteredEvent& leaderboardRegistered() { return m_registered; }
    ScoreUploadEvent& leaderboardScoreUpload() { return m_scoreUpload; }

private:
    std::unordered_map<std::string, LeaderboardDefinition> m_definitions;
    RegisteredEvent m_registered;
    ScoreUploadEvent m_scoreUpload;
};

// The program's one table, living until the process exits.
LeaderboardDefinitions& leaderboardDefinitions();

// The calls of start-up and of the game, on leaderboardDefinitions().
void loadLeaderboardDefinitions();
void uploadLeaderboardScore(LeaderboardScore score);

} // namespace zor
