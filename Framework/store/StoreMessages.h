#pragma once
// What the store service sends back: callbacks, which every registered listener of their id
// receives, and call results, which answer one asynchronous call. Each message type carries
// its id; the ids are the store service's own and must not change.

#include <cstdint>
#include <string>

namespace zor {

// An asynchronous call in flight; 0 when the call could not be made.
using StoreCall = std::uint64_t;
// A store leaderboard once found; 0 is none.
using StoreLeaderboardHandle = std::uint64_t;

// The result code of a successful store request.
constexpr std::int32_t StoreResultOk = 1;

// The store's overlay opened over the game or closed again.
struct StoreOverlayActivated {
    static constexpr int CallbackId = 331;
    std::uint8_t active = 0;
};

// The user's statistics and achievements arrived after a request for them.
struct UserStatsReceived {
    static constexpr int CallbackId = 1101;
    std::uint64_t gameId = 0;
    std::int32_t result = 0;
};

// The statistics were stored.
struct UserStatsStored {
    static constexpr int CallbackId = 1102;
    std::uint64_t gameId = 0;
    std::int32_t result = 0;
};

// An achievement was stored.
struct UserAchievementStored {
    static constexpr int CallbackId = 1103;
    std::uint64_t gameId = 0;
    std::string achievementName;
};

// Answer to a find-or-create request.
struct LeaderboardFindResult {
    static constexpr int CallbackId = 1104;
    StoreLeaderboardHandle leaderboard = 0;
    std::uint8_t found = 0;
};

// Answer to a score upload.
struct LeaderboardScoreUploaded {
    static constexpr int CallbackId = 1106;
    std::uint8_t success = 0;
    StoreLeaderboardHandle leaderboard = 0;
    std::int32_t score = 0;
    std::uint8_t scoreChanged = 0;
};

} // namespace zor
