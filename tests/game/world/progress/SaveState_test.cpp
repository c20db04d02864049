#include "game/world/progress/SaveState.h"
#include "tests/game/world/progress/ProgressFixture.h"

#include <gtest/gtest.h>

#include <vector>

namespace zor {
namespace {

using test::bytesOf;
using test::readerOf;

std::vector<std::uint8_t> checkpointBytes(const SaveState& state) {
    ByteWriter writer(16);
    state.writeCheckpointValues(writer);
    return bytesOf(writer);
}

TEST(SaveStateTest, AFreshStateWritesNoCheckpointAsMinusOneHitPoints) {
    const std::vector<std::uint8_t> bytes = checkpointBytes(SaveState());
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{0x00, 0x00, 0x80, 0xBF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    SaveState read;
    read.hitPoints = 5.0f;
    ByteReader reader = readerOf(bytes);
    read.readCheckpointValues(reader);
    EXPECT_FALSE(reader.overflow());
    EXPECT_EQ(read.hitPoints, -1.0f);
}

TEST(SaveStateTest, WeaponAndToolIndicesKeepWithinTheirBytes) {
    struct Case {
        std::int32_t weapon, tool;
        std::uint8_t weaponByte, toolByte;
        std::int32_t weaponRead, toolRead;
    };
    const Case cases[] = {
        {3, -1, 3, 0xFF, 3, -1},      {0, 0, 0, 0, 0, 0},           {255, 127, 255, 127, 255, 127},
        {300, 200, 255, 127, 255, 127}, {-2, -9, 0, 0xFF, 0, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.weapon) + " " + std::to_string(c.tool));
        SaveState state;
        state.hitPoints = 7.5f;
        state.water = 2.0f;
        state.lightTime = 90.0f;
        state.weaponIndex = c.weapon;
        state.toolIndex = c.tool;
        const std::vector<std::uint8_t> bytes = checkpointBytes(state);
        ASSERT_EQ(bytes.size(), 14u);
        EXPECT_EQ(bytes[12], c.weaponByte);
        EXPECT_EQ(bytes[13], c.toolByte);
        SaveState read;
        ByteReader reader = readerOf(bytes);
        read.readCheckpointValues(reader);
        EXPECT_EQ(read.hitPoints, 7.5f);
        EXPECT_EQ(read.water, 2.0f);
        EXPECT_EQ(read.lightTime, 90.0f);
        EXPECT_EQ(read.weaponIndex, c.weaponRead);
        EXPECT_EQ(read.toolIndex, c.toolRead);
    }
}

TEST(SaveStateTest, CheckpointValuesCutShortFailAndLeaveTheRest) {
    SaveState written;
    written.hitPoints = 4.0f;
    written.weaponIndex = 2;
    written.toolIndex = 1;
    const std::vector<std::uint8_t> bytes = checkpointBytes(written);
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        SaveState read;
        read.weaponIndex = read.toolIndex = 9;
        ByteReader reader = readerOf(bytes, length);
        read.readCheckpointValues(reader);
        EXPECT_TRUE(reader.overflow()) << length;
        EXPECT_EQ(read.toolIndex, 9) << length;
        EXPECT_EQ(read.weaponIndex, length > 12 ? 2 : 9) << length;
    }
}

TEST(SaveStateTest, SwapExchangesTheTableTogetherWithItsRecords) {
    SaveState a;
    a.names.indexOf("mine_a");
    a.levels["mine_a"] = std::make_shared<PersistentLevelInfo>();
    a.progress.returnLevel = "mine_a";
    a.hitPoints = 3.0f;
    a.toolIndex = -1;
    SaveState b;
    b.names.indexOf("town");
    b.names.indexOf("deep");
    b.levels["deep"] = std::make_shared<PersistentLevelInfo>();
    const auto deep = b.levels["deep"];

    a.swap(b);
    EXPECT_EQ(a.names.strings(), (std::vector<std::string>{"town", "deep"}));
    EXPECT_EQ(a.names.indexOf("deep"), 1u) << "the index map moves with the strings";
    EXPECT_EQ(a.levels.size(), 1u);
    EXPECT_EQ(a.levels["deep"], deep);
    EXPECT_EQ(a.hitPoints, -1.0f);
    EXPECT_EQ(a.progress.returnLevel, "");
    EXPECT_EQ(b.names.strings(), (std::vector<std::string>{"mine_a"}));
    EXPECT_EQ(b.levels.count("mine_a"), 1u);
    EXPECT_EQ(b.progress.returnLevel, "mine_a");
    EXPECT_EQ(b.hitPoints, 3.0f);
    EXPECT_EQ(b.toolIndex, -1);
}

} // namespace
} // namespace zor
