#include "game/world/progress/PlayerProgress.h"
#include "tests/game/world/progress/ProgressFixture.h"

#include "Framework/core/Errors.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace zor {
namespace {

using test::bytesOf;
using test::readerOf;
using test::tableOf;

// Bytes after the quest's name index: experience, return level index and position, secrets.
constexpr std::size_t QuestIndexFromEnd = 2 + 4 + 2 + 8 + 2;

class PlayerProgressTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { test::loadProgressDefinitions(); }

    static PlayerProgress sample() {
        PlayerProgress progress;
        progress.inventory.slots = {{"fixture_ore", 12}, {"", 0}, {"fixture_gem", 1}};
        progress.inventory.capacity = 6;
        progress.cash = 1234;
        progress.orbs = -3;
        progress.items.counts = {{"drill_1", 2}, {"pouch", 1}};
        progress.items.names = {"shop_seen"};
        progress.conversations.nextVariants = {{"fixture_talk", 1}};
        progress.conversations.started = {"fixture_npc"};
        progress.questIndex = 1;
        progress.experience = 987654;
        progress.returnLevel = "fixture_mine";
        progress.returnPosition = {120.5f, -40.25f};
        progress.lastDeathCause = "suicide";
        progress.secretsFound = 3;
        return progress;
    }

    std::vector<std::uint8_t> write(const PlayerProgress& progress) {
        ByteWriter writer(64);
        progress.write(writer, names);
        return bytesOf(writer);
    }

    // Reads the bytes into a fresh record; the record must use them all.
    PlayerProgress read(const std::vector<std::uint8_t>& bytes, std::uint16_t version, const StringTable& table) {
        PlayerProgress progress;
        ByteReader reader = readerOf(bytes);
        progress.read(reader, table, version);
        EXPECT_FALSE(reader.overflow());
        EXPECT_EQ(reader.remaining(), 0u);
        return progress;
    }

    StringTableDynamic names;
};

TEST_F(PlayerProgressTest, ARecordReadsBackAsWritten) {
    const std::vector<std::uint8_t> bytes = write(sample());
    const PlayerProgress read = this->read(bytes, PlayerProgress::SecretsVersion, names);
    EXPECT_EQ(read.cash, 1234);
    EXPECT_EQ(read.orbs, -3);
    ASSERT_EQ(read.inventory.slots.size(), 3u);
    EXPECT_EQ(read.inventory.slots[0].itemName, "fixture_ore");
    EXPECT_EQ(read.inventory.slots[2].count, 1);
    EXPECT_EQ(read.items.counts, sample().items.counts);
    EXPECT_EQ(read.items.names, sample().items.names);
    EXPECT_EQ(read.conversations.nextVariants, sample().conversations.nextVariants);
    EXPECT_EQ(read.conversations.started, sample().conversations.started);
    EXPECT_EQ(read.questIndex, 1);
    EXPECT_EQ(read.experience, 987654);
    EXPECT_EQ(read.returnLevel, "fixture_mine");
    EXPECT_EQ(read.returnPosition, fpVector2(120.5f, -40.25f));
    EXPECT_EQ(read.secretsFound, 3);
    EXPECT_EQ(read.lastDeathCause, "") << "not saved";
    EXPECT_EQ(read.inventory.capacity, 4) << "not saved: the upgrades give it";
    EXPECT_EQ(write(read), bytes);
}

TEST_F(PlayerProgressTest, CashAndOrbsComeBeforeTheSlotsAndACutBlockKeepsTheValuesItDidNotReach) {
    PlayerProgress progress;
    progress.cash = -7;
    progress.orbs = 0x01020304;
    progress.inventory.slots = {{"fixture_ore", 12}, {"fixture_gem", 1}};
    ByteWriter writer(16);
    progress.writeCashAndInventory(writer, names);
    const std::vector<std::uint8_t> bytes = bytesOf(writer);
    const std::vector<std::uint8_t> head = {0xF9, 0xFF, 0xFF, 0xFF, 4, 3, 2, 1, 2};
    ASSERT_EQ(bytes.size(), head.size() + 2 * 4);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 9), head);

    for (std::size_t length = 0; length <= bytes.size(); ++length) {
        SCOPED_TRACE(length);
        PlayerProgress read;
        read.cash = read.orbs = 55;
        read.inventory.slots = {{"fixture_gem", 1}};
        ByteReader reader = readerOf(bytes, length);
        read.readCashAndInventory(reader, names);
        EXPECT_EQ(reader.overflow(), length < bytes.size());
        EXPECT_EQ(read.cash, length >= 4 ? -7 : 55);
        EXPECT_EQ(read.orbs, length >= 8 ? 0x01020304 : 55);
        // The slots are always replaced, by the whole slots read (none before the count).
        const std::size_t slots = length < 9 ? 0 : (length - 9) / 4;
        EXPECT_EQ(read.inventory.slots.size(), slots);
    }
}

TEST_F(PlayerProgressTest, OnlyVersion19AndLaterStoreTheSecrets) {
    const std::vector<std::uint8_t> bytes = write(sample());
    const std::vector<std::uint8_t> withoutSecrets(bytes.begin(), bytes.end() - 2);
    for (const std::uint16_t version : {17, 18}) {
        const PlayerProgress read = this->read(withoutSecrets, version, names);
        EXPECT_EQ(read.secretsFound, 0) << version;
        EXPECT_EQ(read.experience, 987654) << version;
    }
    EXPECT_EQ(read(bytes, 19, names).secretsFound, 3);
}

TEST_F(PlayerProgressTest, TheQuestIsStoredByNameAndAnUnknownNameGivesTheFirst) {
    struct Case {
        const char* what;
        std::int32_t written;
        std::function<void(std::vector<std::string>&, std::vector<std::uint8_t>&)> change;
        std::int32_t read;
    };
    const auto questIndexAt = [](std::vector<std::uint8_t>& bytes) -> std::uint8_t* {
        return &bytes[bytes.size() - QuestIndexFromEnd];
    };
    const auto none = [](std::vector<std::string>&, std::vector<std::uint8_t>&) {};
    const Case cases[] = {
        {"the second quest", 1, none, 1},
        {"the first quest", 0, none, 0},
        {"an index beyond the quests is written as no name", 57, none, 0},
        {"a negative index too", -1, none, 0},
        {"a quest that vanished from the definitions", 1,
         [&](std::vector<std::string>& strings, std::vector<std::uint8_t>& bytes) {
             strings[questIndexAt(bytes)[0]] = "q_vanished";
         },
         0},
        {"a name index beyond the table", 1,
         [&](std::vector<std::string>&, std::vector<std::uint8_t>& bytes) {
             questIndexAt(bytes)[0] = 0xF0;
             questIndexAt(bytes)[1] = 0xFF;
         },
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        StringTableDynamic table;
        PlayerProgress progress;
        progress.questIndex = c.written;
        ByteWriter writer(64);
        progress.write(writer, table);
        std::vector<std::uint8_t> bytes = bytesOf(writer);
        std::vector<std::string> strings = table.strings();
        c.change(strings, bytes);
        PlayerProgress read;
        read.questIndex = 9;
        ByteReader reader = readerOf(bytes);
        read.read(reader, tableOf(strings), PlayerProgress::SecretsVersion);
        EXPECT_FALSE(reader.overflow());
        EXPECT_EQ(read.questIndex, c.read);
    }
}

TEST_F(PlayerProgressTest, AReturnLevelIndexBeyondTheTableGivesNoName) {
    std::vector<std::uint8_t> bytes = write(sample());
    bytes[bytes.size() - 12] = 0xFF;
    bytes[bytes.size() - 11] = 0xFF;
    EXPECT_EQ(read(bytes, PlayerProgress::SecretsVersion, names).returnLevel, "");
}

TEST_F(PlayerProgressTest, ARecordCutAtAnyByteFailsAndLeavesTheFieldsItDidNotReach) {
    const PlayerProgress written = sample();
    const std::vector<std::uint8_t> bytes = write(written);
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        SCOPED_TRACE(length);
        PlayerProgress read;
        read.cash = read.orbs = read.experience = read.questIndex = -77;
        read.returnPosition = {-77.0f, -77.0f};
        read.secretsFound = 77;
        ByteReader reader = readerOf(bytes, length);
        read.read(reader, names, PlayerProgress::SecretsVersion);
        EXPECT_TRUE(reader.overflow());
        // Each field is the written value or untouched, never the zero a failed read yields.
        EXPECT_TRUE(read.cash == written.cash || read.cash == -77);
        EXPECT_TRUE(read.orbs == written.orbs || read.orbs == -77);
        EXPECT_TRUE(read.questIndex == written.questIndex || read.questIndex == -77);
        EXPECT_TRUE(read.experience == written.experience || read.experience == -77);
        EXPECT_TRUE(read.returnPosition.x == written.returnPosition.x || read.returnPosition.x == -77.0f);
        EXPECT_TRUE(read.returnPosition.y == written.returnPosition.y || read.returnPosition.y == -77.0f);
        EXPECT_EQ(read.secretsFound, 77);
    }
}

TEST_F(PlayerProgressTest, AListLongerThanItsCountFieldFailsTheWriteBeforeAnyByte) {
    struct Case {
        const char* what;
        std::function<void(PlayerProgress&)> grow;
        const char* error;
    };
    const auto many = [](std::size_t count, const char* prefix) {
        std::vector<std::string> made;
        for (std::size_t i = 0; i < count; ++i) made.push_back(prefix + std::to_string(i));
        return made;
    };
    const Case cases[] = {
        {"256 slots", [](PlayerProgress& p) { p.inventory.slots.assign(256, InventorySlot{"fixture_ore", 1}); },
         "A save holds at most 255 inventory slots, not 256"},
        {"256 item counts",
         [&](PlayerProgress& p) {
             for (const std::string& name : many(256, "item_")) p.items.counts[name] = 1;
         },
         "A save holds at most 255 item counts, not 256"},
        {"256 item names",
         [&](PlayerProgress& p) {
             for (const std::string& name : many(256, "seen_")) p.items.names.insert(name);
         },
         "A save holds at most 255 item names, not 256"},
        {"65536 conversation variants",
         [&](PlayerProgress& p) {
             for (const std::string& name : many(65536, "talk_")) p.conversations.nextVariants[name] = 0;
         },
         "A save holds at most 65535 conversation variants, not 65536"},
        {"65536 started conversations",
         [&](PlayerProgress& p) {
             for (const std::string& name : many(65536, "npc_")) p.conversations.started.insert(name);
         },
         "A save holds at most 65535 started conversations, not 65536"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PlayerProgress progress;
        c.grow(progress);
        ByteWriter writer(64);
        writer.writeU8(0xAB);
        try {
            progress.write(writer, names);
            ADD_FAILURE() << "written";
        } catch (const CheckReleaseError& error) {
            EXPECT_STREQ(error.what(), c.error);
        }
        EXPECT_EQ(writer.size(), 1u);
    }
}

TEST_F(PlayerProgressTest, TheLongestListsFitAndReadBack) {
    PlayerProgress progress;
    for (int i = 0; i < 255; ++i) progress.items.counts["item_" + std::to_string(i)] = i;
    for (int i = 0; i < 255; ++i) progress.items.names.insert("seen_" + std::to_string(i));
    progress.inventory.slots.assign(255, InventorySlot{"fixture_ore", 25});
    const std::vector<std::uint8_t> bytes = write(progress);
    const PlayerProgress read = this->read(bytes, PlayerProgress::SecretsVersion, names);
    EXPECT_EQ(read.items.counts, progress.items.counts);
    EXPECT_EQ(read.items.names, progress.items.names);
    EXPECT_EQ(read.inventory.slots.size(), 255u);
}

TEST_F(PlayerProgressTest, ANameTheTableCannotHoldFailsTheWrite) {
    PlayerProgress progress;
    progress.returnLevel = std::string(65536, 'x');
    ByteWriter writer(64);
    EXPECT_THROW(progress.write(writer, names), CheckReleaseError);
    for (const std::string& name : names.strings()) EXPECT_LT(name.size(), 65536u) << "the table stays writable";

    StringTableDynamic full;
    for (std::size_t i = 0; i < StringTable::MaxEntries; ++i) full.indexOf(std::to_string(i));
    progress.returnLevel = "one more";
    ByteWriter second(64);
    EXPECT_THROW(progress.write(second, full), CheckReleaseError);
}

TEST_F(PlayerProgressTest, SwapExchangesEveryField) {
    PlayerProgress a = sample();
    PlayerProgress b;
    b.cash = 5;
    b.returnLevel = "elsewhere";
    b.lastDeathCause = "fall";
    b.inventory.capacity = 9;
    const std::vector<std::uint8_t> aBytes = write(a);
    const std::vector<std::uint8_t> bBytes = write(b);
    a.swap(b);
    EXPECT_EQ(write(a), bBytes);
    EXPECT_EQ(write(b), aBytes);
    EXPECT_EQ(a.lastDeathCause, "fall");
    EXPECT_EQ(b.lastDeathCause, "suicide");
    EXPECT_EQ(a.inventory.capacity, 9);
    EXPECT_EQ(b.inventory.capacity, 6);
}

} // namespace
} // namespace zor
