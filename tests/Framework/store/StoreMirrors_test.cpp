#include "Framework/store/StoreMirrors.h"

#include "Framework/store/AchievementStore.h"
#include "Framework/store/LeaderboardDefinitions.h"
#include "Framework/store/StoreService.h"
#include "tests/Framework/store/FakeStoreService.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace zor {
namespace {

// The mirrors live until the process exits, so they are made in a child process; its exit
// code tells whether the store saw exactly the expected calls.
int driveMirrorsOnTheProgramsStores() {
    auto owned = std::make_unique<test::FakeStoreService>();
    test::FakeStoreService& fake = *owned;
    setStoreService(std::move(owned));
    createStoreMirrors();
    createStoreMirrors();

    AchievementFile file;
    file.counters = {{"cntr_dig", AchievementCounterAdd, false}};
    file.achievements = {{"ach_dig", "cntr_dig", 1}};
    localAchievements().define(file);
    fake.sendCallback(UserStatsReceived{fake.applicationId, StoreResultOk});
    storeRunCallbacks();
    fake.calls.clear();

    unlockAchievement("ach_dig");
    leaderboardDefinitions().leaderboardRegistered().fire(LeaderboardDefinition{"Alpha", 2, 3, 0});
    const std::vector<std::string> expected{"SetAchievement ach_dig", "StoreStats", "FindOrCreateLeaderboard Alpha 2 3"};
    if (fake.calls != expected) {
        for (const std::string& call : fake.calls) std::cerr << call << "\n";
        return 1;
    }
    return 0;
}

TEST(StoreMirrorsTest, MirrorsFollowTheProgramsStoresOnTheInstalledService) {
    EXPECT_EXIT(std::exit(driveMirrorsOnTheProgramsStores()), ::testing::ExitedWithCode(0), "");
}

} // namespace
} // namespace zor
