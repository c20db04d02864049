#include "Framework/core/Errors.h"
#include "Framework/core/io/ByteReader.h"
#include "Framework/core/io/ByteWriter.h"
#include "Framework/core/io/StringTable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zor {
namespace {

using Strings = std::vector<std::string>;

ByteReader readerOf(const ByteWriter& writer) {
    return ByteReader(writer.data(), writer.size());
}

TEST(StringTableTest, EmptyTableIsTwoZeroBytes) {
    ByteWriter writer(4);
    StringTable().write(writer);
    ASSERT_EQ(writer.size(), 2u);
    EXPECT_EQ(writer.data()[0], 0);
    EXPECT_EQ(writer.data()[1], 0);

    StringTable table;
    ByteReader reader = readerOf(writer);
    EXPECT_EQ(table.read(reader), 0u);
    EXPECT_EQ(table.size(), 0u);
    EXPECT_FALSE(reader.overflow());
}

TEST(StringTableTest, RoundTripKeepsOrderAndDuplicates) {
    StringTableDynamic source;
    for (const char* name : {"rock", "gem", "", "rock"}) source.indexOf(name);
    ByteWriter writer(1);
    source.write(writer);
    writer.writeU8(0x5a); // whatever follows the table stays readable

    StringTable table;
    ByteReader reader = readerOf(writer);
    EXPECT_EQ(table.read(reader), 3u);
    EXPECT_EQ(table.strings(), (Strings{"rock", "gem", ""}));
    EXPECT_EQ(reader.readU8(), 0x5a);
    EXPECT_FALSE(reader.overflow());
}

TEST(StringTableTest, AtOutOfRangeIsEmpty) {
    StringTableDynamic table;
    table.indexOf("a");
    EXPECT_EQ(table.at(0), "a");
    EXPECT_EQ(table.at(1), "");
    EXPECT_EQ(table.at(static_cast<std::size_t>(-1)), "");
}

TEST(StringTableTest, TruncatedTableStopsAtTheOverflow) {
    // Three entries announced, the second cut short.
    ByteWriter writer(16);
    writer.writeU16(3);
    writer.writeString("one");
    writer.writeU16(10);
    writer.writeU8('t');

    StringTable table;
    ByteReader reader = readerOf(writer);
    EXPECT_EQ(table.read(reader), 3u);
    EXPECT_TRUE(reader.overflow());
    EXPECT_EQ(table.at(0), "one");
    EXPECT_EQ(table.at(1), std::string(10, '\0'));
    EXPECT_EQ(table.at(2), "");
}

TEST(StringTableTest, ReadReplacesTheOldContent) {
    ByteWriter two(8);
    two.writeU16(2);
    two.writeString("x");
    two.writeString("y");
    StringTable table;
    ByteReader first = readerOf(two);
    table.read(first);

    ByteWriter one(8);
    one.writeU16(1);
    one.writeString("z");
    ByteReader second = readerOf(one);
    EXPECT_EQ(table.read(second), 1u);
    EXPECT_EQ(table.strings(), (Strings{"z"}));

    ByteReader missingCount(nullptr, 0);
    EXPECT_EQ(table.read(missingCount), 0u);
    EXPECT_TRUE(missingCount.overflow());
}

TEST(StringTableTest, TooManyEntriesThrowInsteadOfWrappingTheCount) {
    StringTableDynamic table;
    for (std::size_t i = 0; i < StringTable::MaxEntries; ++i) table.indexOf(std::to_string(i));
    ByteWriter full(1);
    table.write(full);
    StringTable back;
    ByteReader reader = readerOf(full);
    EXPECT_EQ(back.read(reader), StringTable::MaxEntries);
    EXPECT_EQ(back.at(StringTable::MaxEntries - 1), std::to_string(StringTable::MaxEntries - 1));

    table.indexOf("one too many");
    ByteWriter writer(1);
    EXPECT_THROW(table.write(writer), CheckReleaseError);
    EXPECT_EQ(writer.size(), 0u);
}

TEST(StringTableTest, TooLongEntryThrows) {
    StringTableDynamic table;
    table.indexOf(std::string(65536, 'n'));
    ByteWriter writer(1);
    EXPECT_THROW(table.write(writer), CheckReleaseError);
}

TEST(StringTableDynamicTest, IndexOfHandsOutIndicesInOrder) {
    StringTableDynamic table;
    EXPECT_EQ(table.indexOf("first"), 0u);
    EXPECT_EQ(table.indexOf("second"), 1u);
    EXPECT_EQ(table.indexOf("first"), 0u);
    EXPECT_EQ(table.indexOf("second"), 1u);
    EXPECT_EQ(table.indexOf(""), 2u);
    EXPECT_EQ(table.indexOf(""), 2u);
    EXPECT_EQ(table.strings(), (Strings{"first", "second", ""}));
}

TEST(StringTableDynamicTest, ReadRebuildsTheIndexLaterDuplicateWins) {
    ByteWriter writer(32);
    writer.writeU16(3);
    for (const char* name : {"a", "b", "a"}) writer.writeString(name);

    StringTableDynamic table;
    table.indexOf("stale");
    ByteReader reader = readerOf(writer);
    EXPECT_EQ(table.read(reader), 3u);
    EXPECT_EQ(table.indexOf("a"), 2u);
    EXPECT_EQ(table.indexOf("b"), 1u);
    EXPECT_EQ(table.indexOf("stale"), 3u);
}

} // namespace
} // namespace zor
