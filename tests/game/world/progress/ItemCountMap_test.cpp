// Item counts by name: the amount tests the shop and the tools use, spending one, the set of
// names, and the values the record's fields cannot hold.

#include "game/world/progress/ConversationProgress.h"
#include "game/world/progress/ItemCountMap.h"
#include "tests/game/world/progress/ProgressFixture.h"

#include <gtest/gtest.h>

#include <string>

namespace zor {
namespace {

TEST(ItemCountMapTest, AnAbsentNameCountsZero) {
    ItemCountMap map;
    map.counts = {{"drill_1", 2}};
    struct Case {
        const char* name;
        std::int32_t n;
        bool has;
    };
    const Case cases[] = {
        {"pouch_1", 0, true},  {"pouch_1", 1, false}, {"pouch_1", -1, true},
        {"drill_1", 2, true},  {"drill_1", 3, false}, {"", 0, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(hasItemAmount(c.name, map, c.n), c.has) << c.name << " " << c.n;
        EXPECT_EQ(hasItemAmount(c.name, ItemCountMap(), c.n), c.n <= 0) << "empty map, " << c.n;
    }
    EXPECT_EQ(itemCount("drill_1", map), 2);
    EXPECT_EQ(itemCount("pouch_1", map), 0);
    EXPECT_EQ(map.counts.size(), 1u) << "asking adds nothing";
}

TEST(ItemCountMapTest, SpendingOneRemovesTheLastAndNeverGoesBelowZero) {
    struct Case {
        const char* what;
        std::unordered_map<std::string, std::int32_t> before;
        std::unordered_map<std::string, std::int32_t> after;
    };
    const Case cases[] = {
        {"two", {{"bomb", 2}}, {{"bomb", 1}}},
        {"the last one", {{"bomb", 1}, {"rope", 4}}, {{"rope", 4}}},
        {"absent", {{"rope", 4}}, {{"rope", 4}}},
        {"an entry at 0", {{"bomb", 0}}, {}},
    };
    for (const Case& c : cases) {
        ItemCountMap map;
        map.counts = c.before;
        decrementItem("bomb", map);
        EXPECT_EQ(map.counts, c.after) << c.what;
    }
}

TEST(ItemCountMapTest, NamesAreASetApartFromTheCounts) {
    ItemCountMap map;
    map.counts = {{"drill_1", 1}};
    map.names = {"shop_seen"};
    EXPECT_TRUE(hasItem("shop_seen", map));
    EXPECT_FALSE(hasItem("drill_1", map));

    ConversationProgress conversations;
    conversations.nextVariants = {{"fixture_talk", 1}};
    conversations.started = {"fixture_npc"};
    EXPECT_TRUE(hasItem("fixture_npc", conversations));
    EXPECT_FALSE(hasItem("fixture_talk", conversations));
}

// A count beyond its field is stored as the nearest one it holds; the low bits alone would
// turn 256 items into none.
TEST(ItemCountMapTest, CountsSaturateAtTheirField) {
    struct Case {
        std::int32_t count;
        std::int32_t stored;
    };
    for (const Case& c : {Case{255, 255}, Case{256, 255}, Case{511, 255}, Case{-1, 0}}) {
        ItemCountMap map;
        map.counts = {{"drill_1", c.count}};
        StringTableDynamic names;
        ByteWriter writer(16);
        map.write(writer, names);
        ItemCountMap read;
        ByteReader reader = test::readerOf(test::bytesOf(writer));
        read.read(reader, names);
        EXPECT_EQ(itemCount("drill_1", read), c.stored) << c.count;
    }
}

} // namespace
} // namespace zor
