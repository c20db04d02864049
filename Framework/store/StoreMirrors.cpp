#include "Framework/store/StoreMirrors.h"

#include "Framework/store/AchievementStore.h"
#include "Framework/store/LeaderboardDefinitions.h"
#include "Framework/store/SteamAchievements.h"
#include "Framework/store/SteamLeaderboards.h"
#include "Framework/store/StoreService.h"

#include <memory>
#include <vector>

namespace zor {

namespace {

// Released with the program's static objects: the connections first, then the mirrors.
struct StoreMirrors {
    std::unique_ptr<SteamAchievements> achievements;
    std::unique_ptr<SteamLeaderboards> leaderboards;
    std::vector<EventConnection> connections;
};

StoreMirrors g_mirrors;

} // namespace

void createStoreMirrors() {
    if (g_mirrors.achievements) return;
    g_mirrors.achievements = std::make_unique<SteamAchievements>(storeService(), localAchievements());
    g_mirrors.achievements->connect(g_mirrors.connections);
    g_mirrors.leaderboards = std::make_unique<SteamLeaderboards>(storeService());
    g_mirrors.leaderboards->connect(leaderboardDefinitions(), g_mirrors.connections);
}

} // namespace zor
