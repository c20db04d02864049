#pragma once
// Mirrors the local achievements into the store service: unlocks and the counters flagged
// as store statistics go up, and the store's record, once it has arrived, comes back down
// into the local store. Made only when a store client is present.

#include "Framework/core/events/EventList.h"
#include "Framework/store/StoreCallback.h"

#include <cstdint>
#include <vector>

namespace zor {

class AchievementStore;
struct Achievement;

class SteamAchievements {
public:
    // Registers the statistics callbacks and, when a user is logged on, asks for the
    // user's statistics; until they arrive, progress and unlocks stay local.
    SteamAchievements(IStoreService& service, AchievementStore& store);
    SteamAchievements(const SteamAchievements&) = delete;
    SteamAchievements& operator=(const SteamAchievements&) = delete;

    // Connects the four handlers to the store's lists; the connections go into `connections`.
    void connect(std::vector<EventConnection>& connections);

    void onUserStatsReceived(const UserStatsReceived& message);
    void onProgress(const Achievement* achievement);
    void onUnlocked(const Achievement* achievement);
    void onReset();
    void onSaved();

    bool statsReceived() const { return m_statsReceived; }

private:
    IStoreService& m_service;
    AchievementStore& m_store;
    // Unregistered in the reverse order by their destructors.
    StoreCallback<UserStatsReceived> m_userStatsReceived;
    StoreCallback<UserStatsStored> m_userStatsStored;
    StoreCallback<UserAchievementStored> m_userAchievementStored;
    std::uint64_t m_gameId;
    bool m_statsReceived = false;
};

} // namespace zor
