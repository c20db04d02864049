#pragma once
// The store service as the game uses it: start-up and shutdown, callback delivery once per
// update step, the player's statistics and achievements, and leaderboards (find or create,
// upload a score). Answers come back as callbacks and call results (StoreCallback.h), run
// only from runCallbacks on the main thread. Calls whose bool result is false were not
// carried out (no such statistic or achievement, no statistics yet, no client).

#include "Framework/store/Leaderboard.h"
#include "Framework/store/StoreMessages.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zor {

class StoreCallbackBase;
class StoreCallResultBase;

class IStoreService {
public:
    // The most detail values the store keeps with one score.
    static constexpr std::int32_t MaxLeaderboardDetails = 64;

    virtual ~IStoreService() = default;

    // Connects to the store client; false when none runs.
    virtual bool init() = 0;
    virtual void shutdown() = 0;
    // Whether a store client is present; the store mirrors are made only then.
    virtual bool clientPresent() = 0;
    // Delivers the callbacks and call results that arrived since the last time.
    virtual void runCallbacks() = 0;

    // A registered callback receives every message of its id until it is unregistered.
    virtual void registerCallback(StoreCallbackBase& callback) = 0;
    virtual void unregisterCallback(StoreCallbackBase& callback) = 0;
    // A registered call result receives the one answer to `call`; the registration is
    // forgotten before the result runs.
    virtual void registerCallResult(StoreCallResultBase& result, StoreCall call) = 0;
    virtual void unregisterCallResult(StoreCallResultBase& result, StoreCall call) = 0;

    virtual std::uint32_t appId() = 0;
    // True when the user and statistics interfaces exist and the user is logged on.
    virtual bool userLoggedOn() = 0;

    // Asks for the user's statistics and achievements; UserStatsReceived answers.
    virtual bool requestCurrentStats() = 0;
    virtual bool getStat(const std::string& name, std::int32_t& value) = 0;
    virtual bool setStat(const std::string& name, std::int32_t value) = 0;
    virtual bool getAchievement(const std::string& name, bool& achieved) = 0;
    virtual bool setAchievement(const std::string& name) = 0;
    // Sends the statistics and achievements set so far to the store.
    virtual bool storeStats() = 0;
    virtual bool resetAllStats(bool achievementsToo) = 0;

    // LeaderboardFindResult answers the returned call.
    virtual StoreCall findOrCreateLeaderboard(const std::string& name, LeaderboardSort sort,
                                              LeaderboardDisplay display) = 0;
    virtual std::string leaderboardName(StoreLeaderboardHandle leaderboard) = 0;
    // LeaderboardScoreUploaded answers the returned call; every detail value is uploaded.
    virtual StoreCall uploadLeaderboardScore(StoreLeaderboardHandle leaderboard, LeaderboardUploadMethod method,
                                             std::int32_t score, const std::vector<std::int32_t>& details) = 0;
};

} // namespace zor
