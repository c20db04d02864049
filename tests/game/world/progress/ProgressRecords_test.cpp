#include "game/world/progress/ConversationProgress.h"
#include "game/world/progress/ItemCountMap.h"
#include "tests/game/world/progress/ProgressFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zor {
namespace {

using test::bytesOf;
using test::readerOf;
using test::tableOf;

class ProgressRecordTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { test::loadProgressDefinitions(); }

    template <class Record>
    std::vector<std::uint8_t> write(const Record& record) {
        ByteWriter writer(64);
        record.write(writer, names);
        return bytesOf(writer);
    }

    StringTableDynamic names;
};

TEST_F(ProgressRecordTest, ItemCountsAreWrittenInNameOrderAndSaturate) {
    ItemCountMap map;
    map.counts = {{"pouch", 300}, {"drill_1", 2}, {"broken", -4}};
    map.names = {"zinc", "amber"};
    const std::vector<std::uint8_t> bytes = write(map);
    // Entries and names sorted, so the table receives the names in that order too.
    EXPECT_EQ(names.strings(), (std::vector<std::string>{"broken", "drill_1", "pouch", "amber", "zinc"}));
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{3, 0, 0, 0, 1, 0, 2, 2, 0, 255, 2, 3, 0, 4, 0}));

    ItemCountMap read;
    read.counts = {{"stale", 1}};
    read.names = {"stale"};
    ByteReader reader = readerOf(bytes);
    read.read(reader, names);
    EXPECT_FALSE(reader.overflow());
    EXPECT_EQ(read.counts, (std::unordered_map<std::string, std::int32_t>{{"pouch", 255}, {"drill_1", 2}, {"broken", 0}}));
    EXPECT_EQ(read.names, map.names);
}

TEST_F(ProgressRecordTest, EqualItemMapsGiveEqualBytesWhateverTheirHistory) {
    ItemCountMap a;
    ItemCountMap b;
    b.counts.reserve(512);
    for (int i = 0; i < 40; ++i) a.counts["item_" + std::to_string(i)] = i;
    for (int i = 39; i >= 0; --i) b.counts["item_" + std::to_string(i)] = i;
    StringTableDynamic other;
    ByteWriter writer(64);
    b.write(writer, other);
    EXPECT_EQ(write(a), bytesOf(writer));
}

TEST_F(ProgressRecordTest, AnIndexBeyondTheTableNamesNothing) {
    const std::vector<std::uint8_t> bytes = {1, 9, 0, 4, 1, 9, 0};
    ItemCountMap read;
    ByteReader reader = readerOf(bytes);
    read.read(reader, tableOf({"only"}));
    EXPECT_EQ(read.counts, (std::unordered_map<std::string, std::int32_t>{{"", 4}}));
    EXPECT_EQ(read.names, (std::unordered_set<std::string>{""}));
}

TEST_F(ProgressRecordTest, ConversationVariantsAreKeptWithinTheirConversation) {
    struct Case {
        const char* conversation;
        std::uint16_t stored;
        std::int32_t read;  // -1: the entry is dropped
    };
    const Case cases[] = {
        {"fixture_talk", 0, 0},
        {"fixture_talk", 2, 2},
        {"fixture_talk", 3, 2},
        {"fixture_talk", 65535, 2},
        {"fixture_silent", 0, -1},  // no variant to clamp to
        {"fixture_gone", 1, -1},
        {"", 0, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.conversation) + " " + std::to_string(c.stored));
        const std::vector<std::uint8_t> bytes = {0, 1, 0, 0, 0, std::uint8_t(c.stored), std::uint8_t(c.stored >> 8),
                                                 0, 0};
        ConversationProgress read;
        ByteReader reader = readerOf(bytes);
        read.read(reader, tableOf({c.conversation}));
        EXPECT_FALSE(reader.overflow());
        if (c.read < 0)
            EXPECT_TRUE(read.nextVariants.empty());
        else
            EXPECT_EQ(read.nextVariants, (std::map<std::string, std::int32_t>{{c.conversation, c.read}}));
    }
}

TEST_F(ProgressRecordTest, ConversationProgressReadsBackAndSaturatesItsVariants) {
    ConversationProgress progress;
    progress.nextVariants = {{"fixture_talk", 1}};
    progress.started = {"fixture_npc", "other_npc"};
    ConversationProgress read;
    const std::vector<std::uint8_t> bytes = write(progress);
    ByteReader reader = readerOf(bytes);
    read.read(reader, names);
    EXPECT_FALSE(reader.overflow());
    EXPECT_EQ(read.nextVariants, progress.nextVariants);
    EXPECT_EQ(read.started, progress.started);

    for (const auto& [variant, stored] : {std::pair<std::int32_t, int>{70000, 65535}, {-3, 0}}) {
        progress.nextVariants = {{"fixture_talk", variant}};
        const std::vector<std::uint8_t> saturated = write(progress);
        EXPECT_EQ(saturated[5] | saturated[6] << 8, stored) << variant;
    }
}

TEST_F(ProgressRecordTest, AnotherConversationFormatFailsTheRecord) {
    const std::vector<std::uint8_t> bytes = {1, 0, 0, 0, 0};
    ConversationProgress read;
    read.started = {"kept"};
    ByteReader reader = readerOf(bytes);
    read.read(reader, names);
    EXPECT_TRUE(reader.overflow());
    EXPECT_EQ(read.started, (std::set<std::string>{"kept"}));
}

TEST_F(ProgressRecordTest, RecordsCutAtAnyByteFail) {
    ItemCountMap items;
    items.counts = {{"drill_1", 2}, {"pouch", 1}};
    items.names = {"seen"};
    ConversationProgress conversations;
    conversations.nextVariants = {{"fixture_talk", 1}};
    conversations.started = {"fixture_npc"};
    const std::vector<std::uint8_t> itemBytes = write(items);
    const std::vector<std::uint8_t> conversationBytes = write(conversations);
    for (std::size_t length = 0; length < itemBytes.size(); ++length) {
        ItemCountMap read;
        ByteReader reader = readerOf(itemBytes, length);
        read.read(reader, names);
        EXPECT_TRUE(reader.overflow()) << "item counts cut at " << length;
    }
    for (std::size_t length = 0; length < conversationBytes.size(); ++length) {
        ConversationProgress read;
        ByteReader reader = readerOf(conversationBytes, length);
        read.read(reader, names);
        EXPECT_TRUE(reader.overflow()) << "conversations cut at " << length;
    }
}

} // namespace
} // namespace zor
