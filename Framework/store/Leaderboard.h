#pragma once
// The records of one leaderboard: its definition from "Definitions/leaderboards.xml", the
// score the game submits, and the record handed on to whoever uploads it.

#include <cstdint>
#include <string>
#include <vector>

namespace zor {

// Values of LeaderboardDefinition::sort; any other value means none.
enum LeaderboardSort : std::int32_t {
    LeaderboardSortNone = 0,
    LeaderboardSortAscending = 1,
    LeaderboardSortDescending = 2,
};

// Values of LeaderboardDefinition::display; any other value means none.
enum LeaderboardDisplay : std::int32_t {
    LeaderboardDisplayNone = 0,
    LeaderboardDisplayNumeric = 1,
    LeaderboardDisplaySeconds = 2,
    LeaderboardDisplayMilliseconds = 3,
};

// How a new score meets the player's stored one; any other value means none.
enum LeaderboardUploadMethod : std::int32_t {
    LeaderboardUploadNone = 0,
    LeaderboardUploadKeepBest = 1,
    LeaderboardUploadForceUpdate = 2,
};

struct LeaderboardDefinition {
    std::string name;
    std::int32_t sort = LeaderboardSortAscending;
    std::int32_t display = LeaderboardDisplayNumeric;
    // Detail values uploaded with each score.
    std::int32_t additionalFieldCount = 0;
};

// What the game submits.
struct LeaderboardScore {
    std::string leaderboardName;
    std::int32_t score = 0;
    std::int32_t uploadMethod = LeaderboardUploadNone;
    std::vector<std::int32_t> details;
};

// A submitted score once its leaderboard is known.
struct LeaderboardScoreRecord {
    std::int32_t score = 0;
    std::vector<std::int32_t> details;
    std::int32_t uploadMethod = LeaderboardUploadNone;
};

} // namespace zor
