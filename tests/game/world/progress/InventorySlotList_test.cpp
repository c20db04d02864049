// The slot list's operations: adding with its top-up and fill passes, clearing, counting,
// the drop on death and the value. The rest of the record is tested with the game objects.

#include "game/world/progress/InventorySlotList.h"
#include "tests/game/world/progress/ProgressFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace zor {
namespace {

using Slots = std::vector<std::pair<std::string, std::int32_t>>;

InventorySlotList listOf(const Slots& slots, std::int32_t capacity = 4) {
    InventorySlotList list;
    list.capacity = capacity;
    for (const auto& [name, count] : slots) list.slots.push_back({name, count});
    return list;
}

Slots slotsOf(const InventorySlotList& list) {
    Slots slots;
    for (const InventorySlot& slot : list.slots) slots.emplace_back(slot.itemName, slot.count);
    return slots;
}

class InventorySlotListTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { test::loadProgressDefinitions(); }
};

TEST_F(InventorySlotListTest, AddingTopsUpThenFillsEmptySlotsWithinTheCapacity) {
    struct Case {
        const char* what;
        Slots before;
        std::int32_t capacity;
        const char* item;
        std::int32_t count;
        std::int32_t left;
        Slots after;
    };
    const Case cases[] = {
        {"30 into an empty list", {}, 3, "fixture_ore", 30, 0, {{"fixture_ore", 25}, {"fixture_ore", 5}}},
        {"30 more: a top-up, then a new slot",
         {{"fixture_ore", 25}, {"fixture_ore", 5}},
         3,
         "fixture_ore",
         30,
         0,
         {{"fixture_ore", 25}, {"fixture_ore", 25}, {"fixture_ore", 10}}},
        // The last stack takes 15; the other 5 find no slot.
        {"20 more",
         {{"fixture_ore", 25}, {"fixture_ore", 25}, {"fixture_ore", 10}},
         3,
         "fixture_ore",
         20,
         5,
         {{"fixture_ore", 25}, {"fixture_ore", 25}, {"fixture_ore", 25}}},
        {"20 into full stacks",
         {{"fixture_ore", 25}, {"fixture_ore", 25}, {"fixture_ore", 25}},
         3,
         "fixture_ore",
         20,
         20,
         {{"fixture_ore", 25}, {"fixture_ore", 25}, {"fixture_ore", 25}}},
        {"capacity 0 only tops up", {{"fixture_ore", 10}}, 0, "fixture_ore", 30, 15, {{"fixture_ore", 25}}},
        {"capacity 0 and no stack", {}, 0, "fixture_ore", 30, 30, {}},
        {"a gap is filled before the list grows",
         {{"fixture_gem", 1}, {"", 0}, {"fixture_gem", 1}},
         4,
         "fixture_ore",
         30,
         0,
         {{"fixture_gem", 1}, {"fixture_ore", 25}, {"fixture_gem", 1}, {"fixture_ore", 5}}},
        {"a stack above its limit hands the excess on",
         {{"fixture_ore", 30}},
         2,
         "fixture_ore",
         5,
         0,
         {{"fixture_ore", 25}, {"fixture_ore", 10}}},
        {"a list longer than its capacity takes nothing new",
         {{"fixture_gem", 1}, {"fixture_gem", 1}, {"fixture_gem", 1}},
         2,
         "fixture_ore",
         4,
         4,
         {{"fixture_gem", 1}, {"fixture_gem", 1}, {"fixture_gem", 1}}},
        {"an unregistered item is refused whole", {{"fixture_ore", 3}}, 4, "fixture_nothing", 9, 9,
         {{"fixture_ore", 3}}},
        {"the empty name is no item", {}, 4, "", 9, 9, {}},
        {"nothing to add", {{"fixture_ore", 3}}, 4, "fixture_ore", 0, 0, {{"fixture_ore", 3}}},
        {"a negative amount comes back", {{"fixture_ore", 3}}, 4, "fixture_ore", -4, -4, {{"fixture_ore", 3}}},
        // A damaged save may leave a count in a nameless slot; it must not join the new stack.
        {"a stale count in an empty slot",
         {{"fixture_gem", 1}, {"", 5}, {"fixture_gem", 1}},
         4,
         "fixture_ore",
         3,
         0,
         {{"fixture_gem", 1}, {"fixture_ore", 3}, {"fixture_gem", 1}}},
        // Without the floor of 1, each slot would take -0 or less and the call return more.
        {"a stack limit of 0 counts as 1", {}, 2, "fixture_dust", 3, 1, {{"fixture_dust", 1}, {"fixture_dust", 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        InventorySlotList list = listOf(c.before, c.capacity);
        EXPECT_EQ(list.add(c.item, c.count), c.left);
        EXPECT_EQ(slotsOf(list), c.after);
        EXPECT_EQ(list.capacity, c.capacity);
    }
}

TEST_F(InventorySlotListTest, ClearingEmptiesTheSlotAndTrimsOnlyAtTheEnd) {
    struct Case {
        const char* what;
        Slots before;
        std::int32_t index;
        Slots after;
    };
    const Slots three = {{"fixture_ore", 4}, {"fixture_gem", 1}, {"fixture_ore", 7}};
    const Case cases[] = {
        {"the first of three", three, 0, {{"", 0}, {"fixture_gem", 1}, {"fixture_ore", 7}}},
        {"the last, with the empty slot before it", {{"fixture_ore", 4}, {"", 0}, {"fixture_gem", 1}}, 2,
         {{"fixture_ore", 4}}},
        {"the only one", {{"fixture_ore", 4}}, 0, {}},
        {"an index past the end", three, 3, three},
        {"a negative index", three, -1, three},
        {"an empty list", {}, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        InventorySlotList list = listOf(c.before);
        list.clearSlot(c.index);
        EXPECT_EQ(slotsOf(list), c.after);
    }
}

TEST_F(InventorySlotListTest, DeathTakesTheDroppingItemsInOrderAndLeavesTheRestInPlace) {
    struct Case {
        const char* what;
        Slots before;
        Slots kept;
        Slots dropped;
    };
    const Case cases[] = {
        {"mixed",
         {{"fixture_ore", 10}, {"fixture_gem", 1}, {"fixture_dust", 2}, {"fixture_crown", 1}, {"fixture_ore", 5}},
         {{"", 0}, {"fixture_gem", 1}, {"", 0}, {"fixture_crown", 1}},
         {{"fixture_ore", 10}, {"fixture_dust", 2}, {"fixture_ore", 5}}},
        {"everything drops", {{"fixture_ore", 10}, {"", 0}, {"fixture_ore", 1}}, {},
         {{"fixture_ore", 10}, {"fixture_ore", 1}}},
        {"nothing drops", {{"fixture_gem", 1}}, {{"fixture_gem", 1}}, {}},
        {"an unregistered item stays", {{"fixture_gone", 3}, {"fixture_ore", 1}}, {{"fixture_gone", 3}},
         {{"fixture_ore", 1}}},
        {"an empty list", {}, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        InventorySlotList list = listOf(c.before, 6);
        const InventorySlotList dropped = list.takeDropOnDeath();
        EXPECT_EQ(slotsOf(list), c.kept);
        EXPECT_EQ(slotsOf(dropped), c.dropped);
        EXPECT_EQ(list.capacity, 6);
    }
}

TEST_F(InventorySlotListTest, CountsSumOverSlotsAndValuesAreUnsigned) {
    const InventorySlotList list = listOf({{"fixture_ore", 25}, {"fixture_gem", 1}, {"", 3}, {"fixture_ore", 5}});
    EXPECT_EQ(list.countOf("fixture_ore"), 30);
    EXPECT_EQ(list.countOf("fixture_gem"), 1);
    EXPECT_EQ(list.countOf("fixture_crown"), 0);

    struct Case {
        const char* what;
        Slots slots;
        std::uint32_t value;
    };
    const Case cases[] = {
        {"nothing", {}, 0u},
        {"ore and a gem; the nameless count is worth nothing", slotsOf(list), 30u * 3u + 200u},
        {"beyond the signed range", {{"fixture_crown", 2}}, 4000000000u},
        {"beyond 32 bits: wraps", {{"fixture_crown", 3}}, std::uint32_t(6000000000ull)},
        {"an unregistered item", {{"fixture_gone", 9}, {"fixture_gem", 1}}, 200u},
    };
    for (const Case& c : cases) EXPECT_EQ(listOf(c.slots).totalValue(), c.value) << c.what;
}

// As with the item counts: 65536 in one slot is stored as 65535, not as none.
TEST_F(InventorySlotListTest, StacksSaturateAtTheirField) {
    struct Case {
        std::int32_t count;
        std::int32_t stored;
    };
    for (const Case& c : {Case{65535, 65535}, Case{65536, 65535}, Case{131072, 65535}}) {
        InventorySlotList list;
        list.slots = {{"fixture_ore", c.count}};
        StringTableDynamic names;
        ByteWriter writer(16);
        list.write(writer, names);
        InventorySlotList read;
        ByteReader reader = test::readerOf(test::bytesOf(writer));
        read.read(reader, names);
        ASSERT_EQ(read.slots.size(), 1u) << c.count;
        EXPECT_EQ(read.slots[0].count, c.stored) << c.count;
    }
}

} // namespace
} // namespace zor
