#pragma once
// Finds or creates one store leaderboard per leaderboard definition and uploads the game's
// scores to them. The store answers one find at a time, so definitions that arrive while a
// find is in flight wait their turn; a leaderboard takes scores once its find succeeded.
// Made only when a store client is present.

#include "Framework/core/events/EventList.h"
#include "Framework/store/Leaderboard.h"
#include "Framework/store/StoreCallback.h"

#include <deque>
#include <string>
#include <unordered_map>
#include <vector>

namespace zor {

class LeaderboardDefinitions;

class SteamLeaderboards {
public:
    struct StoreLeaderboard {
        std::string name;
        StoreLeaderboardHandle handle = 0;
    };

    explicit SteamLeaderboards(IStoreService& service);
    SteamLeaderboards(const SteamLeaderboards&) = delete;
    SteamLeaderboards& operator=(const SteamLeaderboards&) = delete;

    // Connects findOrCreate and upload to the definitions' lists; the connections go into
    // `connections`.
    void connect(LeaderboardDefinitions& definitions, std::vector<EventConnection>& connections);

    // Asks the store for the leaderboard, or queues the definition while a find is in flight.
    void findOrCreate(const LeaderboardDefinition& definition);
    // Uploads to a found leaderboard with exactly additionalFieldCount detail values (the
    // record's, missing ones as 0; at most the store's maximum); a score for a leaderboard
    // not found is dropped.
    void upload(const LeaderboardDefinition& definition, const LeaderboardScoreRecord& record);
    // Keeps a found leaderboard. Found or not, the next queued definition goes out.
    void onLeaderboardFound(const LeaderboardFindResult& result, bool ioFailure);

    bool findInFlight() const { return m_findInFlight; }

private:
    // Sends queued definitions until one find is in flight or none is left.
    void startPendingFinds();

    IStoreService& m_service;
    std::unordered_map<std::string, StoreLeaderboard> m_leaderboards;
    StoreCallResult<LeaderboardFindResult> m_findResult;
    StoreCallResult<LeaderboardScoreUploaded> m_uploadResult;
    bool m_findInFlight = false;
    std::deque<LeaderboardDefinition> m_pendingFinds;
};

} // namespace zor
