#include "Framework/store/LeaderboardDefinitions.h"

#include "Framework/core/Errors.h"
#include "Framework/core/io/Files.h"
#include "tests/support/common/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zor {
namespace {

class LeaderboardDefinitionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        initFileSystem(gameData.path().string());
        registered = definitions.leaderboardRegistered().connect(
            &seen, [](std::vector<LeaderboardDefinition>* list, const LeaderboardDefinition& d) { list->push_back(d); });
        uploads = definitions.leaderboardScoreUpload().connect(
            &uploaded, [](std::vector<std::pair<LeaderboardDefinition, LeaderboardScoreRecord>>* list,
                          const LeaderboardDefinition& d, const LeaderboardScoreRecord& r) { list->push_back({d, r}); });
    }
    void writeFile(const std::string& text) { gameData.write(LeaderboardDefinitions::FileName, text); }
    void writeBoards(const std::string& boards) { writeFile("<Leaderboards>" + boards + "</Leaderboards>"); }
    std::string loadError() {
        try {
            definitions.load();
        } catch (const CheckReleaseError& error) {
            return error.what();
        }
        return "no error";
    }

    test::TempFolder gameData;
    test::TempFolder user;
    test::ScopedEnv userEnv{"ZOR_USER_DIR", user.path().string()};
    LeaderboardDefinitions definitions;
    std::vector<LeaderboardDefinition> seen;
    std::vector<std::pair<LeaderboardDefinition, LeaderboardScoreRecord>> uploaded;
    EventConnection registered;
    EventConnection uploads;
};

struct AttributeCase {
    const char* attributes;
    std::int32_t sort;
    std::int32_t display;
    std::int32_t fields;
};

TEST_F(LeaderboardDefinitionsTest, AttributesReadWithDefaultsAndExactNames) {
    const AttributeCase cases[] = {
        {"", LeaderboardSortAscending, LeaderboardDisplayNumeric, 0},
        {"Sort=\"Descending\" Display=\"Milliseconds\" AdditionalFieldCount=\"4\"", LeaderboardSortDescending,
         LeaderboardDisplayMilliseconds, 4},
        {"Sort=\"Ascending\" Display=\"Seconds\"", LeaderboardSortAscending, LeaderboardDisplaySeconds, 0},
        {"Sort=\"ascending\" Display=\"numeric\"", LeaderboardSortNone, LeaderboardDisplayNone, 0},
        {"Sort=\"\" Display=\"Minutes\" AdditionalFieldCount=\"two\"", LeaderboardSortNone, LeaderboardDisplayNone, 0},
    };
    for (const AttributeCase& c : cases) {
        SCOPED_TRACE(c.attributes);
        writeBoards(std::string("<Leaderboard Name=\"Board\" ") + c.attributes + "/>");
        definitions.load();
        const LeaderboardDefinition* d = definitions.find("Board");
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->sort, c.sort);
        EXPECT_EQ(d->display, c.display);
        EXPECT_EQ(d->additionalFieldCount, c.fields);
    }
}

TEST_F(LeaderboardDefinitionsTest, EachLeaderboardIsAnnouncedInFileOrderAndALaterOneReplaces) {
    writeBoards("<Leaderboard Name=\"Alpha\"/><Note Name=\"Skipped\"/>"
                "<Leaderboard Name=\"Beta\" Sort=\"Descending\"/><Leaderboard Name=\"Alpha\" AdditionalFieldCount=\"2\"/>");
    definitions.load();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].name, "Alpha");
    EXPECT_EQ(seen[1].name, "Beta");
    EXPECT_EQ(seen[2].name, "Alpha");
    EXPECT_EQ(definitions.find("Alpha")->additionalFieldCount, 2);
    EXPECT_EQ(definitions.find("Skipped"), nullptr);
}

TEST_F(LeaderboardDefinitionsTest, EmptyLeaderboardsElementLoadsNothing) {
    writeBoards("");
    definitions.load();
    EXPECT_TRUE(seen.empty());
}

TEST_F(LeaderboardDefinitionsTest, LoadFailuresBecomeOneErrorKeepingWhatWasRead) {
    // Each names the file.
    const std::string prefix = "Could not load leaderboards definition, Definitions/leaderboards.xml";
    EXPECT_EQ(loadError(), prefix + ": No such node (Leaderboards)") << "missing file";
    writeFile("<Boards><Leaderboard Name=\"Alpha\"/></Boards>");
    EXPECT_EQ(loadError(), prefix + ": No such node (Leaderboards)") << "no Leaderboards";
    writeFile("<Leaderboards>\n<Leaderboard Name=\"Alpha\"/>");
    EXPECT_EQ(loadError().rfind(prefix + ", line 2: ", 0), 0u) << loadError();
    EXPECT_TRUE(seen.empty());

    writeBoards("<Leaderboard Name=\"Alpha\"/><Leaderboard Sort=\"Descending\"/><Leaderboard Name=\"Gamma\"/>");
    const std::string error = loadError();
    EXPECT_EQ(error.rfind(prefix, 0), 0u) << error;
    EXPECT_NE(error.find("Name"), std::string::npos) << error;
    EXPECT_NE(definitions.find("Alpha"), nullptr);
    EXPECT_EQ(definitions.find("Gamma"), nullptr);
}

TEST_F(LeaderboardDefinitionsTest, ScoresForKnownLeaderboardsGoOutWithTheirDefinition) {
    definitions.uploadScore({"Alpha", 5, LeaderboardUploadKeepBest, {}}); // empty table
    writeBoards("<Leaderboard Name=\"Alpha\" AdditionalFieldCount=\"2\"/>");
    definitions.load();
    definitions.uploadScore({"Unknown", 5, LeaderboardUploadKeepBest, {}});
    definitions.uploadScore({"Alpha", 1234, LeaderboardUploadForceUpdate, {7, 8}});
    ASSERT_EQ(uploaded.size(), 1u);
    EXPECT_EQ(uploaded[0].first.name, "Alpha");
    EXPECT_EQ(uploaded[0].first.additionalFieldCount, 2);
    EXPECT_EQ(uploaded[0].second.score, 1234);
    EXPECT_EQ(uploaded[0].second.uploadMethod, LeaderboardUploadForceUpdate);
    EXPECT_EQ(uploaded[0].second.details, (std::vector<std::int32_t>{7, 8}));
}

TEST(ShippedLeaderboardsTest, SampleFileDeclaresTheLeaderboardsTheGameSubmits) {
    test::TempFolder user;
    test::ScopedEnv userEnv{"ZOR_USER_DIR", user.path().string()};
    initFileSystem("BundlePC");
    LeaderboardDefinitions definitions;
    definitions.load();
    const LeaderboardDefinition* master = definitions.find("Master");
    const LeaderboardDefinition* completion = definitions.find("Completion");
    ASSERT_NE(master, nullptr);
    ASSERT_NE(completion, nullptr);
    EXPECT_EQ(master->additionalFieldCount, 0);
    // Completion scores carry the four ranks: time, money, orbs, deaths.
    EXPECT_EQ(completion->additionalFieldCount, 4);
}

} // namespace
} // namespace zor
