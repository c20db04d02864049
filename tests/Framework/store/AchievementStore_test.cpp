#include "Framework/store/AchievementStore.h"

#include "Framework/core/Errors.h"
#include "Framework/core/io/Files.h"
#include "Framework/core/settings/SettingsHandler.h"
#include "tests/support/common/TempFolder.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace zor {
namespace {

AchievementFile oneCounter(std::uint8_t mode, std::int32_t threshold = 100) {
    AchievementFile file;
    file.counters = {{"cntr_a", mode, false}};
    file.achievements = {{"ach_a", "cntr_a", threshold}};
    return file;
}

// A game data folder, a user folder and a settings handler of its own for every test; the
// store's four lists are recorded as lines.
class AchievementStoreTest : public ::testing::Test {
protected:
    void SetUp() override { initFileSystem(gameData.path().string()); }

    void install(const AchievementFile& file) {
        const std::vector<std::uint8_t> bytes = encodeAchievementFile(file);
        gameData.write(AchievementFileName, std::string(bytes.begin(), bytes.end()));
    }
    // Start-up as the program does it: definitions file, setting, then the progress.
    void startUp(AchievementStore& target, const AchievementFile& file, bool enabled) {
        install(file);
        settings.declare(AchievementStore::EnabledSetting, "Keep achievements in progress.xml",
                         SettingValue(std::int32_t(enabled)), SettingTemporary, SettingInternal);
        target.init();
    }
    void listen(AchievementStore& target) {
        auto record = [](const char* kind) {
            return [kind](std::vector<std::string>* lines, const Achievement* a) {
                lines->push_back(std::string(kind) + " " + a->name);
            };
        };
        auto note = [](const char* kind) { return [kind](std::vector<std::string>* lines) { lines->push_back(kind); }; };
        connections.push_back(target.achievementProgress().connect(&events, record("progress")));
        connections.push_back(target.achievementUnlocked().connect(&events, record("unlocked")));
        connections.push_back(target.achievementsReset().connect(&events, note("reset")));
        connections.push_back(target.progressSaved().connect(&events, note("saved")));
    }
    std::string progressText() const { return user.read(AchievementStore::ProgressFileName); }
    void writeProgress(const std::string& text) const { user.write(AchievementStore::ProgressFileName, text); }

    test::TempFolder gameData;
    test::TempFolder user;
    test::ScopedEnv userEnv{"ZOR_USER_DIR", user.path().string()};
    SettingsHandler settings;
    AchievementStore store;
    std::vector<std::string> events;
    std::vector<EventConnection> connections;
};

struct ModeCase {
    const char* label;
    std::uint8_t mode;
    std::int32_t start;
    std::int32_t value;
    bool set;
    std::int32_t expected;
};

TEST_F(AchievementStoreTest, CounterModesCombineUpdatesAndSetAlwaysWins) {
    const ModeCase cases[] = {
        {"add", AchievementCounterAdd, 5, 3, false, 8},
        {"add a negative value", AchievementCounterAdd, 5, -7, false, -2},
        {"add wraps at 32 bits", AchievementCounterAdd, INT32_MAX, 1, false, INT32_MIN},
        {"maximum keeps the larger old value", AchievementCounterMaximum, 5, 3, false, 5},
        {"maximum takes a larger new value", AchievementCounterMaximum, 5, 9, false, 9},
        {"fixed ignores updates", AchievementCounterFixed, 5, 3, false, 5},
        {"any other mode is fixed", 200, 5, 3, false, 5},
        {"set on add", AchievementCounterAdd, 5, 3, true, 3},
        {"set on maximum", AchievementCounterMaximum, 5, 3, true, 3},
        {"set on fixed", AchievementCounterFixed, 5, 3, true, 3},
    };
    for (const ModeCase& c : cases) {
        SCOPED_TRACE(c.label);
        AchievementStore local;
        local.define(oneCounter(c.mode, INT32_MAX));
        local.updateCounter(c.start, true, "cntr_a");
        local.updateCounter(c.value, c.set, "cntr_a");
        EXPECT_EQ(local.findCounter("cntr_a")->value, c.expected);
    }
}

TEST_F(AchievementStoreTest, UpdatesThatLeaveTheValueAloneFireNothing) {
    store.define(oneCounter(AchievementCounterAdd));
    store.updateCounter(5, true, "cntr_a");
    listen(store);
    store.updateCounter(5, true, "cntr_a");
    store.updateCounter(0, false, "cntr_a");
    EXPECT_TRUE(events.empty());

    AchievementStore maximum;
    maximum.define(oneCounter(AchievementCounterMaximum));
    maximum.updateCounter(5, true, "cntr_a");
    listen(maximum);
    maximum.updateCounter(3, false, "cntr_a");
    EXPECT_TRUE(events.empty());
}

TEST_F(AchievementStoreTest, ProgressFiresUntilTheThresholdUnlocksThenNothing) {
    store.define(oneCounter(AchievementCounterAdd, 10));
    listen(store);
    for (int i = 0; i < 4; ++i) store.updateCounter(4, false, "cntr_a");
    EXPECT_EQ(events, (std::vector<std::string>{"progress ach_a", "progress ach_a", "unlocked ach_a", "progress ach_a"}));
    EXPECT_TRUE(store.findAchievement("ach_a")->unlocked);
    EXPECT_EQ(store.findCounter("cntr_a")->value, 16);
}

TEST_F(AchievementStoreTest, AchievementsOfOneCounterAreWalkedInDefinitionOrder) {
    AchievementFile file;
    file.counters = {{"cntr_a", AchievementCounterAdd, false}};
    file.achievements = {{"ach_high", "cntr_a", 8}, {"ach_low", "cntr_a", 3}};
    store.define(file);
    listen(store);
    store.updateCounter(5, false, "cntr_a");
    store.updateCounter(5, false, "cntr_a");
    EXPECT_EQ(events, (std::vector<std::string>{"progress ach_high", "unlocked ach_low", "progress ach_low",
                                                "unlocked ach_high", "progress ach_high"}));
}

TEST_F(AchievementStoreTest, QuietCounterUnlocksWithoutProgressAndIsNotSaved) {
    startUp(store, oneCounter(AchievementCounterAdd, 10), true);
    store.findCounter("cntr_a")->quiet = true;
    listen(store);
    store.updateCounter(4, false, "cntr_a");
    store.updateCounter(8, false, "cntr_a");
    EXPECT_EQ(events, (std::vector<std::string>{"unlocked ach_a"}));
    store.saveProgress();
    EXPECT_EQ(progressText().find("cntr_a"), std::string::npos);
}

TEST_F(AchievementStoreTest, UnknownCounterIsMadeAsAnAddingCounterWithoutAchievements) {
    EXPECT_FALSE(store.hasCounter("cntr_new"));
    listen(store);
    store.updateCounter(3, false, "cntr_new");
    store.updateCounter(4, false, "cntr_new");
    ASSERT_TRUE(store.hasCounter("cntr_new"));
    EXPECT_EQ(store.findCounter("cntr_new")->value, 7);
    EXPECT_TRUE(events.empty());
}

TEST_F(AchievementStoreTest, UnlockTakesOnlyKnownLockedAchievements) {
    listen(store);
    store.unlock("ach_a"); // empty table
    store.define(oneCounter(AchievementCounterAdd));
    store.unlock("ach_unknown");
    store.unlock("ach_a");
    store.unlock("ach_a");
    EXPECT_EQ(events, (std::vector<std::string>{"unlocked ach_a"}));
    EXPECT_EQ(store.findAchievement("ach_unknown"), nullptr);
    EXPECT_EQ(store.findCounter("cntr_a")->value, 0);
}

TEST_F(AchievementStoreTest, DefinitionsLinkEachAchievementToItsFinalCounterOnce) {
    AchievementFile file;
    file.counters = {{"cntr_one", AchievementCounterMaximum, true}, {"cntr_two", AchievementCounterAdd, false}};
    file.achievements = {{"ach_x", "cntr_one", 5}, {"ach_y", "cntr_unlisted", 2}, {"ach_x", "cntr_two", 7}};
    install(file);
    store.loadDefinitions();

    const Achievement* x = store.findAchievement("ach_x");
    ASSERT_NE(x, nullptr);
    EXPECT_EQ(x->counter, store.findCounter("cntr_two"));
    EXPECT_EQ(x->threshold, 7);
    EXPECT_TRUE(store.findCounter("cntr_one")->achievements.empty());
    EXPECT_EQ(store.findCounter("cntr_two")->achievements, (std::vector<Achievement*>{store.findAchievement("ach_x")}));
    EXPECT_TRUE(store.findCounter("cntr_one")->storeStat);

    const AchievementCounter* unlisted = store.findCounter("cntr_unlisted");
    ASSERT_NE(unlisted, nullptr);
    EXPECT_EQ(unlisted->mode, AchievementCounterAdd);
    EXPECT_FALSE(unlisted->storeStat);
    EXPECT_EQ(store.findAchievement("ach_y")->counter, unlisted);
}

TEST_F(AchievementStoreTest, MissingDefinitionsFileDefinesNothing) {
    settings.declare(AchievementStore::EnabledSetting, "", SettingValue(std::int32_t(1)), SettingTemporary,
                     SettingInternal);
    store.init();
    EXPECT_TRUE(store.achievements().empty());
    EXPECT_TRUE(store.counters().empty());
    EXPECT_FALSE(store.hasCounter("cntr_a"));
}

TEST_F(AchievementStoreTest, DamagedDefinitionsFileStopsWithAnErrorAndChangesNothing) {
    startUp(store, oneCounter(AchievementCounterAdd), false);
    store.updateCounter(4, false, "cntr_a");

    AchievementFile other;
    other.counters = {{"cntr_b", AchievementCounterAdd, false}};
    std::vector<std::uint8_t> bytes = encodeAchievementFile(other);
    bytes.pop_back();
    gameData.write(AchievementFileName, std::string(bytes.begin(), bytes.end()));
    try {
        store.loadDefinitions();
        FAIL() << "a truncated file was accepted";
    } catch (const CheckReleaseError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Could not load achievements from file 'Definitions/achievements.dat', reason: the file ends at "
                  "the achievement count");
    }
    EXPECT_FALSE(store.hasCounter("cntr_b"));
    EXPECT_EQ(store.findCounter("cntr_a")->value, 4);
}

AchievementFile progressDefinitions() {
    AchievementFile file;
    file.counters = {{"cntr_dig", AchievementCounterAdd, true},
                     {"depth.best", AchievementCounterMaximum, false},
                     {"cntr_fixed", AchievementCounterFixed, false},
                     {"cntr_spare", AchievementCounterAdd, false}};
    file.achievements = {{"ach_dig", "cntr_dig", 10}, {"ach_deep", "depth.best", 100}, {"ach.set", "cntr_fixed", 1}};
    return file;
}

TEST_F(AchievementStoreTest, ProgressRoundTripKeepsDottedNamesAndFixedCounters) {
    startUp(store, progressDefinitions(), true);
    store.updateCounter(12, false, "cntr_dig");
    store.updateCounter(250, false, "depth.best");
    store.updateCounter(4, true, "cntr_fixed");
    store.saveProgress();
    const std::string text = progressText();
    EXPECT_NE(text.find("<depth.best>250</depth.best>"), std::string::npos) << text;
    EXPECT_NE(text.find("<ach.set/>"), std::string::npos) << text;

    AchievementStore restored;
    listen(restored);
    startUp(restored, progressDefinitions(), true);
    EXPECT_EQ(restored.findCounter("cntr_dig")->value, 12);
    EXPECT_EQ(restored.findCounter("depth.best")->value, 250);
    EXPECT_EQ(restored.findCounter("cntr_fixed")->value, 4);
    EXPECT_EQ(restored.findCounter("cntr_spare")->value, 0);
    for (const Achievement* achievement : restored.achievements()) EXPECT_TRUE(achievement->unlocked) << achievement->name;
    EXPECT_EQ(events, (std::vector<std::string>{"unlocked ach_dig", "unlocked ach_deep", "unlocked ach.set"}));
}

TEST_F(AchievementStoreTest, ProgressFileWithoutDotsKeepsItsLayout) {
    startUp(store, oneCounter(AchievementCounterAdd, 10), true);
    store.updateCounter(12, false, "cntr_a");
    store.saveProgress();
    EXPECT_EQ(progressText(),
              "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
              "<Progress>\n\t<Unlocked>\n\t\t<ach_a/>\n\t</Unlocked>\n"
              "\t<Counters>\n\t\t<cntr_a>12</cntr_a>\n\t</Counters>\n</Progress>\n");
}

TEST_F(AchievementStoreTest, SavedProgressPassesThroughTheCounterModesOnLoad) {
    // Saved values go through each counter's mode, except that fixed counters are set.
    startUp(store, progressDefinitions(), true);
    writeProgress("<Progress><Unlocked/><Counters><cntr_dig>3</cntr_dig><depth.best>40</depth.best>"
                  "<cntr_fixed>2</cntr_fixed></Counters></Progress>");
    store.updateCounter(5, false, "cntr_dig");
    store.updateCounter(60, false, "depth.best");
    store.updateCounter(9, true, "cntr_fixed");
    store.loadProgress();
    EXPECT_EQ(store.findCounter("cntr_dig")->value, 8);
    EXPECT_EQ(store.findCounter("depth.best")->value, 60);
    EXPECT_EQ(store.findCounter("cntr_fixed")->value, 2);
}

TEST_F(AchievementStoreTest, WithLocalAchievementsOffNothingIsLoadedOrWrittenButSavedStillFires) {
    writeProgress("<Progress><Unlocked><ach_a/></Unlocked><Counters><cntr_a>50</cntr_a></Counters></Progress>");
    const std::string before = progressText();
    startUp(store, oneCounter(AchievementCounterAdd), false);
    EXPECT_EQ(store.findCounter("cntr_a")->value, 0);
    EXPECT_FALSE(store.findAchievement("ach_a")->unlocked);

    listen(store);
    store.updateCounter(7, false, "cntr_a");
    store.saveProgress();
    EXPECT_EQ(progressText(), before);
    EXPECT_EQ(events, (std::vector<std::string>{"progress ach_a", "saved"}));
}

TEST_F(AchievementStoreTest, ResetZeroesEverythingSavesAndAnnouncesIt) {
    startUp(store, progressDefinitions(), true);
    store.updateCounter(12, false, "cntr_dig");
    store.updateCounter(4, true, "cntr_fixed");
    listen(store);
    store.reset();
    EXPECT_EQ(events, (std::vector<std::string>{"saved", "reset"}));
    for (const Achievement* achievement : store.achievements()) EXPECT_FALSE(achievement->unlocked);
    const std::string text = progressText();
    EXPECT_NE(text.find("<Unlocked/>"), std::string::npos) << text;
    for (const char* zero : {"<cntr_dig>0</cntr_dig>", "<depth.best>0</depth.best>", "<cntr_fixed>0</cntr_fixed>",
                             "<cntr_spare>0</cntr_spare>"})
        EXPECT_NE(text.find(zero), std::string::npos) << zero;
}

struct BrokenProgressCase {
    const char* label;
    const char* text;
    bool unlocked;
    std::int32_t value;
};

TEST_F(AchievementStoreTest, DamagedProgressFileAppliesNothingAndUnknownNamesAreSkipped) {
    const BrokenProgressCase cases[] = {
        {"empty file", "", false, 0},
        {"malformed", "<Progress><Unlocked><ach_a/></Unlocked>", false, 0},
        {"no Progress", "<Other><Unlocked><ach_a/></Unlocked></Other>", false, 0},
        {"no Unlocked", "<Progress><Counters><cntr_a>5</cntr_a></Counters></Progress>", false, 0},
        {"no Counters", "<Progress><Unlocked><ach_a/></Unlocked></Progress>", false, 0},
        {"value not a number", "<Progress><Unlocked/><Counters><cntr_a>many</cntr_a></Counters></Progress>", false, 0},
        {"unknown names skipped",
         "<Progress><Unlocked><ach_zzz/><ach_a/></Unlocked>"
         "<Counters><cntr_zzz>9</cntr_zzz><cntr_a>5</cntr_a></Counters></Progress>",
         true, 5},
    };
    for (const BrokenProgressCase& c : cases) {
        SCOPED_TRACE(c.label);
        writeProgress(c.text);
        AchievementStore local;
        startUp(local, oneCounter(AchievementCounterAdd), true);
        EXPECT_EQ(local.findAchievement("ach_a")->unlocked, c.unlocked);
        EXPECT_EQ(local.findCounter("cntr_a")->value, c.value);
        EXPECT_FALSE(local.hasCounter("cntr_zzz"));
    }
}

TEST_F(AchievementStoreTest, ADamagedProgressFileIsKeptAsideTheBackupReadAndNeverWrittenOver) {
    startUp(store, oneCounter(AchievementCounterAdd), true);
    store.updateCounter(3, false, "cntr_a");
    store.saveProgress();
    store.updateCounter(4, false, "cntr_a");
    store.saveProgress();
    const std::string good = progressText();
    const std::string damaged = std::string(good.size() / 2, '\0');
    writeProgress(damaged);

    AchievementStore next;
    startUp(next, oneCounter(AchievementCounterAdd), true);
    EXPECT_EQ(next.findCounter("cntr_a")->value, 3) << "the backup's progress";
    EXPECT_EQ(user.read("progress.xml.corrupt-1"), damaged);

    next.updateCounter(1, false, "cntr_a");
    next.saveProgress();
    EXPECT_NE(progressText().find("<cntr_a>4</cntr_a>"), std::string::npos);
    EXPECT_EQ(user.read("progress.xml.corrupt-1"), damaged);

    // A file damaged while the game runs is moved aside, not rotated over the backup.
    writeProgress("<Progress><Unlocked>");
    next.saveProgress();
    EXPECT_EQ(user.read("progress.xml.corrupt-2"), "<Progress><Unlocked>");
    EXPECT_NE(user.read("progress.xml.backup").find("<cntr_a>"), std::string::npos);
}

TEST_F(AchievementStoreTest, SaveReplacesTheProgressFileWholeInsteadOfRewritingIt) {
    startUp(store, oneCounter(AchievementCounterAdd), true);
    store.updateCounter(1, false, "cntr_a");
    store.saveProgress();
    const std::string first = progressText();
    // A second name for the old file: a rewrite in place would change it too.
    std::filesystem::create_hard_link(user / AchievementStore::ProgressFileName, user / "earlier.xml");
    store.updateCounter(1, false, "cntr_a");
    store.saveProgress();
    EXPECT_EQ(user.read("earlier.xml"), first);
    EXPECT_NE(progressText().find("<cntr_a>2</cntr_a>"), std::string::npos);
}

TEST(ShippedAchievementsTest, GeneratedDefinitionsCoverTheCountersTheGameRaises) {
    test::TempFolder user;
    test::ScopedEnv userEnv{"ZOR_USER_DIR", user.path().string()};
    initFileSystem("BundlePC");
    AchievementStore store;
    store.loadDefinitions();

    for (const char* name : {"cntr_destroy_blocks", "cntr_depth_reached", "cntr_found_secrets", "cntr_crushed_enemies",
                             "cntr_turtle_soup", "cntr_sequence_breaker", "cntr_sell_resources_mireth",
                             "cntr_sell_resources_deepvault", "cntr_sell_resources_quellox", "cntr_mireth",
                             "cntr_deep_vault", "cntr_quellox", "cntr_fully_loaded", "cntr_defeat_boss",
                             "cntr_clear_time_gold", "cntr_clear_cash_gold", "cntr_clear_orbs_gold",
                             "cntr_clear_death_gold", "cntr_clear_all_gold"})
        EXPECT_TRUE(store.hasCounter(name)) << name;
    EXPECT_EQ(store.findCounter("cntr_depth_reached")->mode, AchievementCounterMaximum);
    EXPECT_TRUE(store.findCounter("cntr_depth_reached")->storeStat);
    const Achievement* first = store.findAchievement("ach_first_crumbs");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->counter->name, "cntr_destroy_blocks");
    EXPECT_EQ(first->threshold, 100);
    // Every achievement names a declared counter, so loading made no counter of its own.
    EXPECT_EQ(store.counters().size(), 19u);
}

} // namespace
} // namespace zor
