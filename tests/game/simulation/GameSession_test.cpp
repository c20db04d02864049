#include "Framework/core/Errors.h"
#include "Framework/core/io/Files.h"
#include "Framework/core/settings/SettingsHandler.h"
#include "game/simulation/GameSession.h"
#include "tests/support/common/LogCapture.h"
#include "tests/support/common/TempFolder.h"

#include <boost/property_tree/ptree.hpp>
#include <boost/property_tree/xml_parser.hpp>

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

namespace zor {
namespace {

using Slot = GameSession::ProfileSlot;

const char* const SlotsZeroAndTwoCurrentTwo =
    R"(<Session CurrentProfile="2"><Profile Slot="0"/><Profile Slot="2"/></Session>)";
const char* const SlotOneCurrentOne = R"(<Session CurrentProfile="1"><Profile Slot="1"/></Session>)";

const char* const RespawnKey = "Profile.RespawnLevel";

// A "Profile" element of the element form with the given children.
std::string profile(const std::string& children) {
    return "<Profile>" + children + "</Profile>";
}

const std::string FullProfile = profile(
    "<Exists>true</Exists><Finished>false</Finished><TimePlayed>84.5</TimePlayed><MaxDepth>12</MaxDepth>"
    "<TotalExperience>40</TotalExperience><TotalOrbs>3</TotalOrbs><NrDeaths>1</NrDeaths>");
const Slot FullSlot{true, false, 84.5, 12, 40, 3, 1};
const std::string EmptyProfile =
    profile("<Exists>false</Exists><Finished>false</Finished><TimePlayed>0</TimePlayed><MaxDepth>0</MaxDepth>");

std::string session(const std::string& current, const std::string& profiles) {
    return "<Session><CurrentProfile>" + current + "</CurrentProfile><Profiles>" + profiles +
           "</Profiles></Session>";
}

// The backup of the element-form cases: slot 2 finished, current 2.
const std::string BackupSession = session("2", EmptyProfile + EmptyProfile +
                                                   profile("<Exists>1</Exists><Finished>1</Finished>"
                                                           "<TimePlayed>7</TimePlayed><MaxDepth>9</MaxDepth>"));
const Slot BackupSlot{true, true, 7.0, 9, 0, 0, 0};

class GameSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        initFileSystem("BundlePC");
        settings.declare(RespawnKey, "", std::string("shalebury"), SettingProfile, SettingInternal);
    }
    void TearDown() override { initFileSystem("BundlePC"); }

    bool exists(const std::string& name) const { return std::filesystem::exists(user / name); }

    test::TempFolder user;
    test::ScopedEnv userDir{"ZOR_USER_DIR", user.path().string()};
    test::LogCapture log;
    SettingsHandler settings;
};

TEST_F(GameSessionTest, ANewSessionHasEveryFieldZero) {
    const GameSession session;
    EXPECT_EQ(session.currentProfile, 0);
    for (const GameSession::ProfileSlot& slot : session.profiles) EXPECT_EQ(slot, Slot());
}

TEST_F(GameSessionTest, LoadsTheSessionFileOrElseItsBackup) {
    struct Case {
        const char* what;
        const char* file;    // null: no such file
        const char* backup;  // null: no such file
        bool read;
        std::int32_t current;
        bool slots[GameSession::ProfileCount];
    };
    const Case cases[] = {
        {"the file", SlotsZeroAndTwoCurrentTwo, SlotOneCurrentOne, true, 2, {true, false, true}},
        {"no file: the backup", nullptr, SlotOneCurrentOne, true, 1, {false, true, false}},
        {"a cut file: the backup", "<Session CurrentProfile=\"2\"><Prof", SlotOneCurrentOne, true, 1, {false, true, false}},
        {"not a session: the backup", "<Settings/>", SlotOneCurrentOne, true, 1, {false, true, false}},
        {"a fourth slot: the backup", R"(<Session CurrentProfile="0"><Profile Slot="3"/></Session>)", SlotOneCurrentOne,
         true, 1, {false, true, false}},
        {"a current slot out of range: the backup", R"(<Session CurrentProfile="-1"/>)", SlotOneCurrentOne, true, 1,
         {false, true, false}},
        {"no current slot: the backup", R"(<Session><Profile Slot="0"/></Session>)", SlotOneCurrentOne, true, 1,
         {false, true, false}},
        {"an empty session is a session", R"(<Session CurrentProfile="0"/>)", SlotOneCurrentOne, true, 0,
         {false, false, false}},
        {"neither: nothing read", nullptr, nullptr, false, 0, {false, false, false}},
        {"both damaged: nothing read", "<Session", "", false, 0, {false, false, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempFolder folder;
        test::ScopedEnv dir("ZOR_USER_DIR", folder.path().string());
        initFileSystem("BundlePC");
        if (c.file) folder.write("session.xml", c.file);
        if (c.backup) folder.write("session.xml.backup", c.backup);
        GameSession session;
        EXPECT_EQ(session.load(), c.read);
        EXPECT_EQ(session.currentProfile, c.current);
        for (std::int32_t slot = 0; slot < GameSession::ProfileCount; ++slot)
            EXPECT_EQ(session.profiles[std::size_t(slot)].exists, c.slots[slot]) << "slot " << slot;
    }
}

TEST_F(GameSessionTest, TheEarlierFormHasNoTotals) {
    user.write("session.xml", SlotsZeroAndTwoCurrentTwo);
    GameSession session;
    ASSERT_TRUE(session.load());
    EXPECT_EQ(session.profiles[0], (Slot{true, false, 0.0, 0, 0, 0, 0}));
    EXPECT_EQ(session.profiles[1], Slot());
}

TEST_F(GameSessionTest, AFailedLoadKeepsWhatTheSessionHeld) {
    GameSession session;
    session.currentProfile = 2;
    session.profiles[1].exists = true;
    user.write("session.xml", "<Session CurrentProfile=\"9\"/>");
    EXPECT_FALSE(session.load());
    EXPECT_EQ(session.currentProfile, 2);
    EXPECT_TRUE(session.profiles[1].exists);
}

TEST_F(GameSessionTest, ReadsTheElementFormOrElseItsBackup) {
    struct Case {
        const char* what;
        std::string file;
        std::int32_t current;
        Slot slots[GameSession::ProfileCount];
    };
    const Slot backup[] = {Slot(), Slot(), BackupSlot};
    const auto fromBackup = [&](const char* what, const std::string& file) {
        return Case{what, file, 2, {backup[0], backup[1], backup[2]}};
    };
    const Case cases[] = {
        {"three profiles", session("1", EmptyProfile + FullProfile + EmptyProfile), 1, {Slot(), FullSlot, Slot()}},
        {"current slot 5 selects slot 0", session("5", FullProfile + FullProfile + FullProfile), 0,
         {FullSlot, FullSlot, FullSlot}},
        {"current slot -1 selects slot 0", session("-1", FullProfile), 0, {FullSlot, Slot(), Slot()}},
        {"no deaths, orbs or experience: 0",
         session("0", profile("<Exists>true</Exists><Finished>true</Finished><TimePlayed>2.25</TimePlayed>"
                              "<MaxDepth>-3</MaxDepth>")),
         0,
         {Slot{true, true, 2.25, -3, 0, 0, 0}, Slot(), Slot()}},
        {"a fourth profile is ignored, even a broken one",
         session("0", FullProfile + EmptyProfile + FullProfile + profile("<Exists>maybe</Exists>")), 0,
         {FullSlot, Slot(), FullSlot}},
        {"two profiles leave slot 2 empty", session("0", FullProfile + FullProfile), 0, {FullSlot, FullSlot, Slot()}},
        {"white space around values", session(" 1 ", EmptyProfile + profile(
                                                             "<Exists> true </Exists><Finished>0</Finished>"
                                                             "<TimePlayed>\n1e3\n</TimePlayed><MaxDepth> 4 </MaxDepth>")),
         1,
         {Slot(), Slot{true, false, 1000.0, 4, 0, 0, 0}, Slot()}},
        fromBackup("the second profile lacks MaxDepth",
                   session("0", FullProfile +
                                    profile("<Exists>true</Exists><Finished>false</Finished><TimePlayed>1</TimePlayed>") +
                                    FullProfile)),
        fromBackup("Exists is no boolean",
                   session("0", profile("<Exists>maybe</Exists><Finished>0</Finished><TimePlayed>1</TimePlayed>"
                                        "<MaxDepth>1</MaxDepth>"))),
        fromBackup("MaxDepth is no number",
                   session("0", profile("<Exists>1</Exists><Finished>0</Finished><TimePlayed>1</TimePlayed>"
                                        "<MaxDepth>12x</MaxDepth>"))),
        fromBackup("MaxDepth beyond 32 bits",
                   session("0", profile("<Exists>1</Exists><Finished>0</Finished><TimePlayed>1</TimePlayed>"
                                        "<MaxDepth>4294967296</MaxDepth>"))),
        fromBackup("an optional total is present but no number",
                   session("0", profile("<Exists>1</Exists><Finished>0</Finished><TimePlayed>1</TimePlayed>"
                                        "<MaxDepth>1</MaxDepth><TotalOrbs>lots</TotalOrbs>"))),
        fromBackup("TimePlayed is not a number", session("0", profile("<Exists>1</Exists><Finished>0</Finished>"
                                                                      "<TimePlayed>nan</TimePlayed><MaxDepth>1</MaxDepth>"))),
        fromBackup("no Profiles", "<Session><CurrentProfile>0</CurrentProfile></Session>"),
        fromBackup("the current slot is no number", session("one", FullProfile)),
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempFolder folder;
        test::ScopedEnv dir("ZOR_USER_DIR", folder.path().string());
        initFileSystem("BundlePC");
        folder.write("session.xml", c.file);
        folder.write("session.xml.backup", BackupSession);
        GameSession session;
        EXPECT_TRUE(session.load());
        EXPECT_EQ(session.currentProfile, c.current);
        for (std::size_t slot = 0; slot < session.profiles.size(); ++slot)
            EXPECT_EQ(session.profiles[slot], c.slots[slot]) << "slot " << slot;
    }
}

TEST_F(GameSessionTest, ASavedSessionLoadsBackEqual) {
    GameSession written;
    written.currentProfile = 2;
    written.profiles[0] = Slot{true, true, 0.1 + 0.2, std::numeric_limits<std::int32_t>::max(), -5, 7, 0};
    written.profiles[2] = Slot{true, false, 123456.789012345678, -1, 40, 0, 3};
    written.save();

    GameSession read;
    ASSERT_TRUE(read.load());
    EXPECT_EQ(read.currentProfile, 2);
    for (std::size_t slot = 0; slot < read.profiles.size(); ++slot)
        EXPECT_EQ(read.profiles[slot], written.profiles[slot]) << "slot " << slot;
}

TEST_F(GameSessionTest, ATimeThatIsNoNumberIsSavedAsZeroSoTheFileStillReads) {
    for (const double time : {std::nan(""), std::numeric_limits<double>::infinity()}) {
        GameSession written;
        written.profiles[1] = Slot{true, false, time, 4, 0, 0, 0};
        written.save();
        GameSession read;
        ASSERT_TRUE(read.load()) << time;
        EXPECT_EQ(read.profiles[1], (Slot{true, false, 0.0, 4, 0, 0, 0})) << time;
    }
    EXPECT_FALSE(exists("session.xml.corrupt-1"));
}

TEST_F(GameSessionTest, TheSavedFileHasTheDocumentedElements) {
    GameSession written;
    written.currentProfile = 1;
    written.profiles[1] = FullSlot;
    written.save();

    boost::property_tree::ptree tree;
    std::istringstream text(user.read("session.xml"));
    boost::property_tree::read_xml(text, tree, boost::property_tree::xml_parser::trim_whitespace);
    EXPECT_EQ(tree.get<int>("Session.CurrentProfile"), 1);
    const std::vector<std::string> fields = {"Exists",          "Finished",  "TimePlayed", "MaxDepth",
                                             "TotalExperience", "TotalOrbs", "NrDeaths"};
    std::vector<std::vector<std::string>> values;
    for (const auto& [tag, element] : tree.get_child("Session.Profiles")) {
        EXPECT_EQ(tag, "Profile");
        std::vector<std::string> names;
        values.emplace_back();
        for (const auto& [field, value] : element) {
            names.push_back(field);
            values.back().push_back(value.data());
        }
        EXPECT_EQ(names, fields);
    }
    ASSERT_EQ(values.size(), 3u);
    EXPECT_EQ(values[1], (std::vector<std::string>{"true", "false", "84.5", "12", "40", "3", "1"}));
}

TEST_F(GameSessionTest, SelectingAProfileLoadsCreatesOrLeavesItsSettings) {
    GameSession session;
    settings.setValue(RespawnKey, std::string("deepvault"));
    session.selectProfile(1, false);
    EXPECT_EQ(session.currentProfile, 1);
    EXPECT_FALSE(session.profiles[1].exists);
    EXPECT_EQ(settings.getString(RespawnKey), "deepvault") << "an empty slot leaves the profile settings";

    session.selectProfile(1, true);
    EXPECT_TRUE(session.profiles[1].exists);
    EXPECT_EQ(settings.getString(RespawnKey), "shalebury") << "a new slot starts from the defaults";

    settings.setValue(RespawnKey, std::string("mireth_1"));
    session.save();
    EXPECT_TRUE(exists("profile_1.xml"));
    settings.setValue(RespawnKey, std::string("elsewhere"));
    session.selectProfile(0, true);
    session.selectProfile(1, false);
    EXPECT_EQ(settings.getString(RespawnKey), "mireth_1") << "an existing slot reads its profile file";

    std::filesystem::rename(user / "profile_1.xml", user / "profile_1.xml.backup");
    session.selectProfile(1, false);
    EXPECT_EQ(settings.getString(RespawnKey), "mireth_1") << "or else its backup";
}

TEST_F(GameSessionTest, LoadingSelectsTheCurrentProfile) {
    user.write("profile_2.xml", R"(<Settings><Setting Key="Profile.RespawnLevel" Value="deepvault"/></Settings>)");
    user.write("session.xml", SlotsZeroAndTwoCurrentTwo);
    GameSession session;
    ASSERT_TRUE(session.load());
    EXPECT_EQ(settings.getString(RespawnKey), "deepvault");
}

TEST_F(GameSessionTest, OnlyAnExistingCurrentSlotWritesItsProfileFile) {
    GameSession session;
    session.save();
    EXPECT_TRUE(exists("session.xml"));
    EXPECT_FALSE(exists("profile_0.xml"));
    session.selectProfile(0, true);
    session.save();
    EXPECT_TRUE(exists("profile_0.xml"));
}

TEST_F(GameSessionTest, ErasingAProfileClearsItAndDeletesItsFourFiles) {
    GameSession session;
    session.profiles[0] = FullSlot;
    session.selectProfile(1, true);
    session.currentSlot() = FullSlot;
    const std::vector<std::string> slotFiles = {"profile_1.xml", "profile_1.xml.backup", "savegame_1.dat",
                                                "savegame_1.dat.backup"};
    const std::vector<std::string> otherFiles = {"profile_0.xml", "savegame_0.dat", "savegame_0.dat.backup"};
    for (const std::string& name : slotFiles) user.write(name, "x");
    for (const std::string& name : otherFiles) user.write(name, "x");

    session.eraseProfile(1);
    EXPECT_EQ(session.currentProfile, 1);
    EXPECT_EQ(session.profiles[1], Slot());
    EXPECT_EQ(session.profiles[0], FullSlot);
    for (const std::string& name : slotFiles) EXPECT_FALSE(exists(name)) << name;
    for (const std::string& name : otherFiles) EXPECT_TRUE(exists(name)) << name;

    GameSession read;
    ASSERT_TRUE(read.load());
    EXPECT_EQ(read.currentProfile, 1);
    EXPECT_EQ(read.profiles[1], Slot()) << "the file records the erased slot as empty";
    EXPECT_EQ(read.profiles[0], FullSlot);

    session.eraseProfile(2);  // nothing to delete is no error
}

TEST_F(GameSessionTest, SlotsOutsideTheThreeAreRefused) {
    GameSession session;
    for (const std::int32_t slot : {-1, 3}) {
        EXPECT_THROW(session.selectProfile(slot, true), std::out_of_range);
        EXPECT_THROW(session.eraseProfile(slot), std::out_of_range);
    }
    EXPECT_EQ(session.currentProfile, 0);
    EXPECT_FALSE(exists("session.xml"));
}

TEST_F(GameSessionTest, AFailedWriteThrowsAndNamesTheFile) {
    std::filesystem::create_directory(user / "session.xml");
    GameSession session;
    try {
        session.save();
        FAIL() << "no error";
    } catch (const CheckReleaseError& error) {
        EXPECT_EQ(std::string(error.what()).rfind("Could not save session! " + (user / "session.xml").string(), 0), 0u)
            << error.what();
    }
}

TEST_F(GameSessionTest, TheBackupIsRotatedOnlyFromAReadableSession) {
    GameSession session;
    session.profiles[0].maxDepth = 1;
    session.save();
    const std::string first = user.read("session.xml");
    session.profiles[0].maxDepth = 2;
    session.save();
    EXPECT_EQ(user.read("session.xml.backup"), first);

    user.write("session.xml", "<Session><Cur");
    session.profiles[0].maxDepth = 3;
    session.save();
    EXPECT_EQ(user.read("session.xml.backup"), first) << "a damaged session is not rotated over the backup";
    EXPECT_EQ(user.read("session.xml.corrupt-1"), "<Session><Cur");
    GameSession read;
    ASSERT_TRUE(read.load());
    EXPECT_EQ(read.profiles[0].maxDepth, 3);
}

TEST_F(GameSessionTest, AnUnreadableSessionIsMovedAsideAndLogged) {
    user.write("session.xml.corrupt-1", "older");
    user.write("session.xml", "<Session>");
    user.write("session.xml.backup", BackupSession);
    GameSession session;
    ASSERT_TRUE(session.load());
    EXPECT_EQ(session.profiles[2], BackupSlot);
    EXPECT_FALSE(exists("session.xml"));
    EXPECT_EQ(user.read("session.xml.corrupt-1"), "older") << "no moved file is replaced";
    EXPECT_EQ(user.read("session.xml.corrupt-2"), "<Session>");
    ASSERT_EQ(log.warnings.size(), 1u);
    EXPECT_NE(log.warnings[0].find("session.xml.corrupt-2"), std::string::npos) << log.warnings[0];

    // The next save starts afresh beside the good backup, which stays.
    session.save();
    EXPECT_EQ(user.read("session.xml.backup"), BackupSession);
}

TEST_F(GameSessionTest, WithoutAReadableSessionEverySlotWithAWorldSaveIsListed) {
    struct Case {
        const char* what;
        std::vector<std::string> files;
        bool slots[GameSession::ProfileCount];
    };
    const Case cases[] = {
        {"no files", {}, {false, false, false}},
        {"saves of slots 0 and 2", {"savegame_0.dat", "savegame_2.dat"}, {true, false, true}},
        {"a backup alone", {"savegame_1.dat.backup"}, {false, true, false}},
        {"both session files damaged", {"session.xml", "session.xml.backup", "savegame_1.dat"}, {false, true, false}},
        {"profile files alone list nothing", {"profile_0.xml", "profile_1.xml"}, {false, false, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempFolder folder;
        test::ScopedEnv dir("ZOR_USER_DIR", folder.path().string());
        initFileSystem("BundlePC");
        for (const std::string& name : c.files) folder.write(name, "damaged");
        GameSession session;
        session.profiles[2].totalOrbs = 6;
        EXPECT_FALSE(session.load());
        for (std::size_t slot = 0; slot < session.profiles.size(); ++slot)
            EXPECT_EQ(session.profiles[slot].exists, c.slots[slot]) << "slot " << slot;
        EXPECT_EQ(session.profiles[2].totalOrbs, 6) << "the totals stay as they were";
    }
}

} // namespace
} // namespace zor
