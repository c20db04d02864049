#include "Framework/store/SteamLeaderboards.h"

#include "Framework/store/LeaderboardDefinitions.h"
#include "tests/Framework/store/FakeStoreService.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zor {
namespace {

using Lines = std::vector<std::string>;

LeaderboardDefinition board(const std::string& name, std::int32_t fields = 0, std::int32_t sort = 1,
                            std::int32_t display = 1) {
    return LeaderboardDefinition{name, sort, display, fields};
}

class SteamLeaderboardsTest : public ::testing::Test {
protected:
    // Answers the find in flight; the fake gives out call handles in order.
    void answerFind(StoreLeaderboardHandle handle, bool found, bool ioFailure = false) {
        service.answer(service.lastCall(), LeaderboardFindResult{handle, std::uint8_t(found)}, ioFailure);
        service.runCallbacks();
    }
    void findAll(const std::vector<std::string>& names) {
        StoreLeaderboardHandle handle = 500;
        for (const std::string& name : names) service.leaderboardNames[++handle] = name;
        handle = 500;
        for (const std::string& name : names) {
            mirror.findOrCreate(board(name, name == "Completion" ? 4 : 0));
            answerFind(++handle, true);
        }
        service.calls.clear();
        service.registrations.clear();
    }

    test::FakeStoreService service;
    SteamLeaderboards mirror{service};
};

TEST_F(SteamLeaderboardsTest, FindsGoOutOneAtATimeAsEachResultArrives) {
    LeaderboardDefinitions definitions;
    std::vector<EventConnection> connections;
    mirror.connect(definitions, connections);
    service.leaderboardNames = {{501, "Alpha"}, {502, "Beta"}, {503, "Gamma"}};
    for (const char* name : {"Alpha", "Beta", "Gamma"}) definitions.leaderboardRegistered().fire(board(name));
    EXPECT_EQ(service.calls, Lines{"FindOrCreateLeaderboard Alpha 1 1"});
    EXPECT_TRUE(mirror.findInFlight());

    answerFind(501, true);
    answerFind(502, true);
    answerFind(503, true);
    EXPECT_EQ(service.calls, (Lines{"FindOrCreateLeaderboard Alpha 1 1", "GetLeaderboardName 501",
                                    "FindOrCreateLeaderboard Beta 1 1", "GetLeaderboardName 502",
                                    "FindOrCreateLeaderboard Gamma 1 1", "GetLeaderboardName 503"}));
    EXPECT_FALSE(mirror.findInFlight());
    EXPECT_EQ(service.registrations, (Lines{"RegisterCallResult 1104 101", "RegisterCallResult 1104 102",
                                            "RegisterCallResult 1104 103"}));
}

struct FailedFindCase {
    const char* label;
    bool found;
    bool ioFailure;
};

TEST_F(SteamLeaderboardsTest, AFailedFindLetsTheNextOneGoAndItsScoresAreDropped) {
    const FailedFindCase cases[] = {{"not found", false, false}, {"lost answer", true, true}};
    for (const FailedFindCase& c : cases) {
        SCOPED_TRACE(c.label);
        test::FakeStoreService store;
        SteamLeaderboards local(store);
        store.leaderboardNames = {{702, "Beta"}};
        local.findOrCreate(board("Alpha"));
        local.findOrCreate(board("Beta"));
        store.answer(store.lastCall(), LeaderboardFindResult{701, std::uint8_t(c.found)}, c.ioFailure);
        store.runCallbacks();
        EXPECT_EQ(store.calls, (Lines{"FindOrCreateLeaderboard Alpha 1 1", "FindOrCreateLeaderboard Beta 1 1"}));
        ASSERT_TRUE(local.findInFlight());
        store.answer(store.lastCall(), LeaderboardFindResult{702, 1});
        store.runCallbacks();
        EXPECT_FALSE(local.findInFlight());

        store.calls.clear();
        local.upload(board("Alpha"), {10, {}, 1});
        local.upload(board("Beta"), {20, {}, 1});
        EXPECT_EQ(store.calls, Lines{"UploadLeaderboardScore 702 1 20 []"});
    }
}

TEST_F(SteamLeaderboardsTest, AFindTheStoreCannotStartDoesNotHoldUpTheQueue) {
    mirror.findOrCreate(board("Alpha"));
    mirror.findOrCreate(board("Beta"));
    mirror.findOrCreate(board("Gamma"));
    service.findsStart = false;
    answerFind(501, true);
    // Beta could not start, so Gamma goes out at once; nothing is left waiting.
    EXPECT_EQ(service.calls, (Lines{"FindOrCreateLeaderboard Alpha 1 1", "GetLeaderboardName 501",
                                    "FindOrCreateLeaderboard Beta 1 1", "FindOrCreateLeaderboard Gamma 1 1"}));
    EXPECT_FALSE(mirror.findInFlight());
}

struct KindCase {
    std::int32_t sort;
    std::int32_t display;
    const char* call;
};

TEST_F(SteamLeaderboardsTest, SortAndDisplayOutsideTheirRangesGoOutAsNone) {
    const KindCase cases[] = {
        {1, 1, "FindOrCreateLeaderboard B 1 1"}, {2, 2, "FindOrCreateLeaderboard B 2 2"},
        {0, 3, "FindOrCreateLeaderboard B 0 3"}, {3, 0, "FindOrCreateLeaderboard B 0 0"},
        {-1, 4, "FindOrCreateLeaderboard B 0 0"},
    };
    for (const KindCase& c : cases) {
        test::FakeStoreService store;
        SteamLeaderboards local(store);
        local.findOrCreate(board("B", 0, c.sort, c.display));
        EXPECT_EQ(store.calls, Lines{c.call});
    }
}

struct UploadCase {
    const char* label;
    std::int32_t fields;
    LeaderboardScoreRecord record;
    const char* call;
};

TEST_F(SteamLeaderboardsTest, UploadsCarryExactlyTheDefinedDetailCountAndAKnownMethod) {
    const UploadCase cases[] = {
        {"no fields drops the record's details", 0, {90, {1, 2, 3}, 1}, "UploadLeaderboardScore 501 1 90 []"},
        {"all four details", 4, {91, {1, 2, 3, 4}, 2}, "UploadLeaderboardScore 501 2 91 [1 2 3 4]"},
        {"missing details are zeros", 4, {92, {7}, 1}, "UploadLeaderboardScore 501 1 92 [7 0 0 0]"},
        {"extra details are dropped", 2, {93, {5, 6, 7}, 1}, "UploadLeaderboardScore 501 1 93 [5 6]"},
        {"negative count is none", -3, {94, {5}, 1}, "UploadLeaderboardScore 501 1 94 []"},
        {"unknown method is none", 0, {95, {}, 3}, "UploadLeaderboardScore 501 0 95 []"},
        {"method 0 is none", 0, {96, {}, 0}, "UploadLeaderboardScore 501 0 96 []"},
    };
    findAll({"Alpha"});
    for (const UploadCase& c : cases) {
        SCOPED_TRACE(c.label);
        service.calls.clear();
        mirror.upload(board("Alpha", c.fields), c.record);
        EXPECT_EQ(service.calls, Lines{c.call});
    }
}

TEST_F(SteamLeaderboardsTest, ScoresGoToTheirOwnLeaderboardAndOnlyTheLastUploadIsAwaited) {
    LeaderboardDefinitions definitions;
    std::vector<EventConnection> connections;
    mirror.connect(definitions, connections);
    mirror.upload(board("Alpha"), {1, {}, 1}); // nothing found yet
    EXPECT_TRUE(service.calls.empty());

    findAll({"Alpha", "Completion"});
    definitions.leaderboardScoreUpload().fire(board("Completion", 4), LeaderboardScoreRecord{300, {1, 2, 3, 4}, 1});
    definitions.leaderboardScoreUpload().fire(board("Alpha"), LeaderboardScoreRecord{200, {}, 1});
    definitions.leaderboardScoreUpload().fire(board("Unknown"), LeaderboardScoreRecord{100, {}, 1});
    EXPECT_EQ(service.calls, (Lines{"UploadLeaderboardScore 502 1 300 [1 2 3 4]", "UploadLeaderboardScore 501 1 200 []"}));
    EXPECT_EQ(service.registrations, (Lines{"RegisterCallResult 1106 103", "UnregisterCallResult 1106 103",
                                            "RegisterCallResult 1106 104"}));
}

} // namespace
} // namespace zor
