#include "Framework/core/io/Files.h"
#include "game/simulation/GameSession.h"
#include "tests/support/common/LogCapture.h"
#include "tests/support/common/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace zor {
namespace {

const char* const SlotsZeroAndTwoCurrentTwo =
    R"(<Session CurrentProfile="2"><Profile Slot="0"/><Profile Slot="2"/></Session>)";
const char* const SlotOneCurrentOne = R"(<Session CurrentProfile="1"><Profile Slot="1"/></Session>)";

class GameSessionTest : public ::testing::Test {
protected:
    void SetUp() override { initFileSystem("BundlePC"); }
    void TearDown() override { initFileSystem("BundlePC"); }

    test::TempFolder user;
    test::ScopedEnv userDir{"ZOR_USER_DIR", user.path().string()};
    test::LogCapture log;
};

TEST_F(GameSessionTest, ANewSessionHasEveryFieldZero) {
    const GameSession session;
    EXPECT_EQ(session.currentProfile, 0);
    for (const GameSession::ProfileSlot& slot : session.profiles) EXPECT_FALSE(slot.exists);
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

TEST_F(GameSessionTest, AFailedLoadKeepsWhatTheSessionHeld) {
    GameSession session;
    session.currentProfile = 2;
    session.profiles[1].exists = true;
    user.write("session.xml", "<Session CurrentProfile=\"9\"/>");
    EXPECT_FALSE(session.load());
    EXPECT_EQ(session.currentProfile, 2);
    EXPECT_TRUE(session.profiles[1].exists);
}

} // namespace
} // namespace zor
