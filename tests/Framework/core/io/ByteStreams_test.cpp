#include "Framework/core/Errors.h"
#include "Framework/core/io/ByteReader.h"
#include "Framework/core/io/ByteWriter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace zor {
namespace {

ByteArray bytesOf(const std::vector<std::uint8_t>& bytes) {
    ByteArray array(new std::uint8_t[bytes.size()]);
    if (!bytes.empty()) std::memcpy(array.get(), bytes.data(), bytes.size());
    return array;
}

ByteReader readerOf(const std::vector<std::uint8_t>& bytes, std::size_t start = 0) {
    return ByteReader(bytesOf(bytes), bytes.size(), start);
}

std::vector<std::uint8_t> contentOf(const ByteWriter& writer) {
    return {writer.data().get(), writer.data().get() + writer.size()};
}

TEST(ByteWriterTest, StoresLittleEndianWithoutPadding) {
    ByteWriter writer(4);
    writer.writeU8(0xab);
    writer.writeU16(0x1234);
    writer.writeU32(0x89abcdef);
    writer.writeS32(-2);
    writer.writeFloat(1.0f);
    writer.writeString("hi");
    writer.writeString("");
    const std::vector<std::uint8_t> expected = {
        0xab, 0x34, 0x12, 0xef, 0xcd, 0xab, 0x89, 0xfe, 0xff, 0xff, 0xff, // u8, u16, u32, s32
        0x00, 0x00, 0x80, 0x3f,                                           // 1.0f
        0x02, 0x00, 'h',  'i',  0x00, 0x00,                               // "hi", ""
    };
    EXPECT_EQ(contentOf(writer), expected);
}

TEST(ByteWriterTest, CapacityDoublesOrGrowsToTheNeed) {
    ByteWriter writer(65536);
    for (int i = 0; i < 65537; ++i) writer.writeU8(static_cast<std::uint8_t>(i));
    EXPECT_EQ(writer.capacity(), 131072u);
    EXPECT_EQ(writer.size(), 65537u);
    EXPECT_EQ(writer.data()[65536], 0);
    EXPECT_EQ(writer.data()[255], 255);

    ByteWriter small(1);
    small.writeU32(7); // more than twice the capacity: grows to what is needed
    EXPECT_EQ(small.capacity(), 4u);
    ByteWriter empty(0);
    empty.writeString("abc");
    EXPECT_EQ(contentOf(empty), (std::vector<std::uint8_t>{3, 0, 'a', 'b', 'c'}));
}

TEST(ByteWriterTest, ReserveKeepsTheContent) {
    ByteWriter writer(2);
    writer.writeU16(0xbeef);
    writer.reserve(100);
    EXPECT_EQ(writer.capacity(), 100u);
    EXPECT_EQ(contentOf(writer), (std::vector<std::uint8_t>{0xef, 0xbe}));
}

TEST(ByteWriterTest, StringTooLongForItsCountThrowsAndWritesNothing) {
    ByteWriter writer(16);
    writer.writeString(std::string(65535, 'x'));
    EXPECT_EQ(writer.size(), 2u + 65535u);
    EXPECT_THROW(writer.writeString(std::string(65536, 'y')), CheckReleaseError);
    EXPECT_EQ(writer.size(), 2u + 65535u);
}

TEST(ByteStreamsTest, RoundTripOfEveryKind) {
    ByteWriter writer(8);
    writer.writeU8(200);
    writer.writeU16(65535);
    writer.writeU32(std::numeric_limits<std::uint32_t>::max());
    writer.writeS32(std::numeric_limits<std::int32_t>::min());
    writer.writeFloat(-3.25f);
    writer.writeString(std::string("nul\0inside", 10));

    ByteReader reader(writer.data(), writer.size());
    EXPECT_EQ(reader.readU8(), 200);
    EXPECT_EQ(reader.readU16(), 65535);
    EXPECT_EQ(reader.readU32(), std::numeric_limits<std::uint32_t>::max());
    EXPECT_EQ(reader.readS32(), std::numeric_limits<std::int32_t>::min());
    float value = 0;
    reader.readFloat(value);
    EXPECT_EQ(value, -3.25f);
    EXPECT_EQ(reader.readStringValue(), std::string("nul\0inside", 10));
    EXPECT_FALSE(reader.overflow());
    EXPECT_EQ(reader.remaining(), 0u);
}

TEST(ByteReaderTest, ShortIntegerReadOverflowsWithoutMoving) {
    ByteReader reader = readerOf({0x11, 0x22, 0x33});
    EXPECT_EQ(reader.readU16(), 0x2211);
    EXPECT_EQ(reader.readU16(), 0);
    EXPECT_TRUE(reader.overflow());
    EXPECT_EQ(reader.position(), 2u);
    EXPECT_EQ(reader.readU32(), 0u);
    EXPECT_EQ(reader.readS32(), 0);
    // A read that fits after an overflow still succeeds; the flag stays.
    EXPECT_EQ(reader.readU8(), 0x33);
    EXPECT_TRUE(reader.overflow());
    EXPECT_EQ(reader.readU8(), 0);
}

TEST(ByteReaderTest, ShortFloatReadLeavesTheTarget) {
    ByteReader reader = readerOf({0, 0, 0x80});
    float value = 5.0f;
    reader.readFloat(value);
    EXPECT_EQ(value, 5.0f);
    EXPECT_TRUE(reader.overflow());
    EXPECT_EQ(reader.position(), 0u);
}

TEST(ByteReaderTest, StringReads) {
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
        std::string before, after;
        bool overflow;
        std::size_t position;
    };
    const Case cases[] = {
        {"whole string", {3, 0, 'a', 'b', 'c', 'z'}, "old", "abc", false, 5},
        {"empty string", {0, 0, 'x'}, "old", "", false, 2},
        // Too few bytes: resized to the count with NULs past the old text, nothing copied.
        {"short body", {5, 0, 'a', 'b'}, "xy", std::string("xy\0\0\0", 5), true, 2},
        {"short body keeps a prefix", {2, 0, 'a'}, "wxyz", "wx", true, 2},
        {"no count", {7}, "old", "", true, 0},
    };
    for (const Case& c : cases) {
        ByteReader reader = readerOf(c.bytes);
        std::string text = c.before;
        reader.readString(text);
        EXPECT_EQ(text, c.after) << c.what;
        EXPECT_EQ(reader.overflow(), c.overflow) << c.what;
        EXPECT_EQ(reader.position(), c.position) << c.what;
    }
}

TEST(ByteReaderTest, StartPastTheEndBeginsInOverflow) {
    ByteReader past = readerOf({1, 2}, 3);
    EXPECT_TRUE(past.overflow());
    EXPECT_EQ(past.readU8(), 0);

    ByteReader atEnd = readerOf({1, 2}, 2);
    EXPECT_FALSE(atEnd.overflow());
    ByteReader skipped = readerOf({1, 2, 3}, 2);
    EXPECT_EQ(skipped.readU8(), 3);
    EXPECT_FALSE(skipped.overflow());

    ByteReader nothing(nullptr, 0);
    EXPECT_EQ(nothing.readU32(), 0u);
    EXPECT_TRUE(nothing.overflow());
}

} // namespace
} // namespace zor
