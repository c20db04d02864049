#include "Framework/store/SteamAchievements.h"

#include "Framework/store/AchievementStore.h"
#include "tests/Framework/store/FakeStoreService.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace zor {
namespace {

using Lines = std::vector<std::string>;

// A local store with two counters (one mirrored as a statistic), the mirror on the fake
// store, and its four handlers connected as start-up connects them.
class SteamAchievementsTest : public ::testing::Test {
protected:
    void SetUp() override {
        AchievementFile file;
        file.counters = {{"cntr_dig", AchievementCounterAdd, true}, {"cntr_boss", AchievementCounterAdd, false}};
        file.achievements = {{"ach_dig", "cntr_dig", 10}, {"ach_deeper", "cntr_dig", 20}, {"ach_boss", "cntr_boss", 1}};
        local.define(file);
    }
    void makeMirror() {
        mirror = std::make_unique<SteamAchievements>(service, local);
        mirror->connect(connections);
    }
    void receiveStats(std::uint64_t gameId, std::int32_t result) {
        service.sendCallback(UserStatsReceived{gameId, result});
        service.runCallbacks();
    }
    // Statistics arrive for this game with nothing in them; the calls so far are dropped.
    void becomeReady() {
        makeMirror();
        receiveStats(service.applicationId, StoreResultOk);
        ASSERT_TRUE(mirror->statsReceived());
        service.calls.clear();
    }

    test::FakeStoreService service;
    AchievementStore local;
    std::unique_ptr<SteamAchievements> mirror;
    std::vector<EventConnection> connections;
};

TEST_F(SteamAchievementsTest, RegistersItsCallbacksAsksForStatsAndUnregistersInReverse) {
    makeMirror();
    EXPECT_EQ(service.calls, Lines{"RequestCurrentStats"});
    mirror.reset();
    EXPECT_EQ(service.registrations, (Lines{"RegisterCallback 1101", "RegisterCallback 1102", "RegisterCallback 1103",
                                            "UnregisterCallback 1103", "UnregisterCallback 1102",
                                            "UnregisterCallback 1101"}));
}

TEST_F(SteamAchievementsTest, WithoutALoggedOnUserEverythingStaysLocal) {
    service.loggedOn = false;
    makeMirror();
    local.updateCounter(15, false, "cntr_dig");
    local.unlock("ach_boss");
    EXPECT_TRUE(service.calls.empty());
    EXPECT_TRUE(local.findAchievement("ach_dig")->unlocked);
    EXPECT_FALSE(mirror->statsReceived());

    // Reset and save reach the store even so.
    local.reset();
    EXPECT_EQ(service.calls, (Lines{"StoreStats", "ResetAllStats true"}));
}

struct StatsMessageCase {
    const char* label;
    std::uint64_t gameIdOffset;
    std::int32_t result;
};

TEST_F(SteamAchievementsTest, StatisticsOfAnotherGameOrAFailedRequestAreIgnored) {
    const StatsMessageCase cases[] = {
        {"other game", 1, StoreResultOk},
        {"other game in the high word", std::uint64_t(1) << 32, StoreResultOk},
        {"failed", 0, 2},
        {"no result", 0, 0},
    };
    makeMirror();
    service.calls.clear();
    for (const StatsMessageCase& c : cases) {
        SCOPED_TRACE(c.label);
        receiveStats(service.applicationId + c.gameIdOffset, c.result);
        EXPECT_FALSE(mirror->statsReceived());
        EXPECT_TRUE(service.calls.empty());
    }
}

TEST_F(SteamAchievementsTest, ArrivingStatisticsPullTheStoresRecordIntoTheLocalStore) {
    service.achievements = {{"ach_dig", true}, {"ach_deeper", false}};
    service.stats = {{"cntr_dig", 12}, {"cntr_boss", 3}};
    makeMirror();
    service.calls.clear();
    receiveStats(service.applicationId, StoreResultOk);

    EXPECT_EQ(service.calls, (Lines{
                                 // ach_dig: achieved in the store, so unlocked here and sent back up.
                                 "GetAchievement ach_dig", "SetAchievement ach_dig", "StoreStats",
                                 // Its statistic sets the counter; ach_deeper gets progress.
                                 "GetStat cntr_dig", "SetStat cntr_dig 12",
                                 // ach_deeper: not achieved; its counter is read once more, unchanged.
                                 "GetAchievement ach_deeper", "GetStat cntr_dig",
                                 // ach_boss: unknown to the store; cntr_boss is no statistic.
                                 "GetAchievement ach_boss"}));
    EXPECT_TRUE(local.findAchievement("ach_dig")->unlocked);
    EXPECT_FALSE(local.findAchievement("ach_deeper")->unlocked);
    EXPECT_EQ(local.findCounter("cntr_dig")->value, 12);
    EXPECT_EQ(local.findCounter("cntr_boss")->value, 0);
}

TEST_F(SteamAchievementsTest, ProgressAndUnlocksAreMirroredOnceReady) {
    becomeReady();
    local.updateCounter(4, false, "cntr_dig");
    EXPECT_EQ(service.calls, (Lines{"SetStat cntr_dig 4", "SetStat cntr_dig 4"}));

    service.calls.clear();
    local.updateCounter(8, false, "cntr_dig");
    EXPECT_EQ(service.calls, (Lines{// ach_dig unlocks first, then gets its progress event.
                                    "SetAchievement ach_dig", "StoreStats", "SetStat cntr_dig 12",
                                    "SetAchievement ach_dig", "StoreStats",
                                    // ach_deeper is still below its threshold.
                                    "SetStat cntr_dig 12"}));

    service.calls.clear();
    local.updateCounter(1, false, "cntr_boss");
    EXPECT_EQ(service.calls, (Lines{"SetAchievement ach_boss", "StoreStats", "SetAchievement ach_boss", "StoreStats"}));

    service.calls.clear();
    local.saveProgress();
    local.reset();
    EXPECT_EQ(service.calls, (Lines{"StoreStats", "StoreStats", "ResetAllStats true"}));
}

} // namespace
} // namespace zor
