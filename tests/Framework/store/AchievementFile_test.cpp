#include "Framework/store/AchievementFile.h"

#include "Framework/core/Errors.h"
#include "Framework/core/io/ByteWriter.h"
#include "Framework/core/io/StringTable.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace zor {
namespace {

AchievementFile sampleFile() {
    AchievementFile file;
    file.counters = {{"cntr_tiles", 0, true}, {"cntr_depth", 1, false}, {"cntr_flag", 7, true}};
    file.achievements = {{"ach_pebble", "cntr_tiles", 10},
                         {"ach_boulder", "cntr_tiles", 2147483647},
                         {"ach_abyss", "cntr_depth", -3},
                         // A counter the file does not list; the store makes it.
                         {"ach_orphan", "cntr_unlisted", 1}};
    return file;
}

std::vector<std::uint8_t> scrambled(const ByteWriter& writer) {
    std::vector<std::uint8_t> bytes(writer.data().get(), writer.data().get() + writer.size());
    scrambleAchievementBytes(bytes.data(), bytes.size());
    return bytes;
}

void expectDecodeError(const std::vector<std::uint8_t>& bytes, const std::string& reason) {
    try {
        decodeAchievementFile(bytes.data(), bytes.size());
        ADD_FAILURE() << "no error, expected: " << reason;
    } catch (const CheckReleaseError& error) {
        EXPECT_EQ(error.what(), reason);
    }
}

TEST(AchievementFileTest, ScrambleIsTheGeneratorsLowBytesFromTheFixedSeed) {
    std::vector<std::uint8_t> bytes(8, 0);
    scrambleAchievementBytes(bytes.data(), bytes.size());
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{0xED, 0x2A, 0xA0, 0xB9, 0x00, 0x38, 0xC4, 0xDE}));
    scrambleAchievementBytes(bytes.data(), bytes.size());
    EXPECT_EQ(bytes, std::vector<std::uint8_t>(8, 0));
}

TEST(AchievementFileTest, EncodedFileDecodesToTheSameDefinitionsAndIsScrambled) {
    const AchievementFile file = sampleFile();
    std::vector<std::uint8_t> bytes = encodeAchievementFile(file);
    EXPECT_EQ(decodeAchievementFile(bytes.data(), bytes.size()), file);

    // The plain form starts with the name count (8 names: each name stored once).
    scrambleAchievementBytes(bytes.data(), bytes.size());
    EXPECT_EQ(bytes[0], 8);
    EXPECT_EQ(bytes[1], 0);

    const AchievementFile empty;
    bytes = encodeAchievementFile(empty);
    EXPECT_EQ(bytes.size(), 6u);
    EXPECT_EQ(decodeAchievementFile(bytes.data(), bytes.size()), empty);
}

TEST(AchievementFileTest, EveryTruncationIsReportedInsteadOfReadAsZeros) {
    const std::vector<std::uint8_t> bytes = encodeAchievementFile(sampleFile());
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        SCOPED_TRACE(size);
        EXPECT_THROW(decodeAchievementFile(bytes.data(), size), CheckReleaseError);
    }
    // Bytes after the tables are not the reader's business.
    std::vector<std::uint8_t> longer = bytes;
    longer.push_back(0x55);
    EXPECT_EQ(decodeAchievementFile(longer.data(), longer.size()), sampleFile());
}

TEST(AchievementFileTest, TruncationNamesTheRecordWhereTheFileEnds) {
    ByteWriter writer(64);
    StringTableDynamic names;
    names.indexOf("cntr_a");
    names.write(writer);
    writer.writeU16(2);
    writer.writeU16(0);
    writer.writeU8(0);
    writer.writeU8(0);
    writer.writeU16(0); // the second counter stops after its name
    expectDecodeError(scrambled(writer), "the file ends inside counter 1");
}

struct BadIndexCase {
    const char* label;
    std::uint16_t counterName;
    std::uint16_t achievementName;
    std::uint16_t achievementCounter;
    const char* reason;
};

TEST(AchievementFileTest, NameIndexBeyondTheTableIsReported) {
    const BadIndexCase cases[] = {
        {"counter", 2, 0, 0, "counter 0 uses name index 2 beyond the 2 names of the file"},
        {"achievement", 0, 65535, 0, "achievement 0 uses name index 65535 beyond the 2 names of the file"},
        {"achievement counter", 0, 1, 9, "the counter of achievement 0 uses name index 9 beyond the 2 names of the file"},
    };
    for (const BadIndexCase& c : cases) {
        SCOPED_TRACE(c.label);
        ByteWriter writer(64);
        StringTableDynamic names;
        names.indexOf("cntr_a");
        names.indexOf("ach_a");
        names.write(writer);
        writer.writeU16(1);
        writer.writeU16(c.counterName);
        writer.writeU8(0);
        writer.writeU8(1);
        writer.writeU16(1);
        writer.writeU16(c.achievementName);
        writer.writeU16(c.achievementCounter);
        writer.writeS32(5);
        expectDecodeError(scrambled(writer), c.reason);
    }
}

TEST(AchievementFileTest, NonZeroStoreStatByteMeansTrue) {
    ByteWriter writer(64);
    StringTableDynamic names;
    names.indexOf("cntr_a");
    names.write(writer);
    writer.writeU16(1);
    writer.writeU16(0);
    writer.writeU8(200);
    writer.writeU8(0x80);
    writer.writeU16(0);
    const std::vector<std::uint8_t> bytes = scrambled(writer);
    const AchievementFile file = decodeAchievementFile(bytes.data(), bytes.size());
    ASSERT_EQ(file.counters.size(), 1u);
    EXPECT_EQ(file.counters[0].mode, 200);
    EXPECT_TRUE(file.counters[0].storeStat);
}

TEST(AchievementFileTest, TablesTooLongForTheFormatAreRefused) {
    AchievementFile file;
    file.counters.resize(65536);
    EXPECT_THROW(encodeAchievementFile(file), CheckReleaseError);
}

} // namespace
} // namespace zor
