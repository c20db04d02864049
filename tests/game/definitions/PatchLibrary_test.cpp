#include "game/definitions/PatchLibrary.h"

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Framework/core/Errors.h"
#include "Framework/core/io/ByteReader.h"
#include "Framework/core/io/ByteWriter.h"
#include "Framework/core/io/Files.h"
#include "Framework/core/io/StringTable.h"
#include "tests/support/common/TempFolder.h"

namespace zor {
namespace {

ByteArray copyOf(const std::string& bytes) {
    ByteArray data(new std::uint8_t[bytes.size() + 1]);
    std::memcpy(data.get(), bytes.data(), bytes.size());
    return data;
}

std::string written(const ByteWriter& writer) {
    return std::string(reinterpret_cast<const char*>(writer.data().get()), writer.size());
}

// The frame: four uninterpreted bytes and a string table, then `sections`.
std::string library(const std::vector<std::string>& strings, const std::string& sections) {
    ByteWriter writer(64);
    writer.writeU32(0xDEADBEEF);
    StringTableDynamic table;
    for (const auto& text : strings)
        table.indexOf(text);
    table.write(writer);
    return written(writer) + sections;
}

std::string readFailure(const std::string& bytes) {
    try {
        readPatchLibrary(copyOf(bytes), bytes.size());
    } catch (const CheckReleaseError& error) {
        return error.what();
    }
    return "no error";
}

// What the world's reader will do first: the counts of the four sections.
struct SectionCounts {
    std::vector<std::string> strings;
    std::vector<int> counts;
    std::size_t position = 0;

    PatchLibrarySectionReader reader() {
        return [this](ByteReader& reader, const StringTable& table) {
            strings = table.strings();
            position = reader.position();
            for (int i = 0; i < 4; ++i)
                counts.push_back(reader.readU16());
        };
    }
};

class PatchLibrary : public ::testing::Test {
protected:
    ~PatchLibrary() override { setPatchLibrarySectionReader(nullptr); }
};

TEST_F(PatchLibrary, FrameOnly) {
    const struct {
        std::string bytes;
        const char* failure;
    } cases[] = {
        {"", "Could not read patchsets.bin"},
        {std::string(11, '\0'), "Could not read patchsets.bin"},
        {std::string(12, '\0'), "no error"},
        {library({"tile_a", "set_b"}, ""), "no error"},
        // The string table says two strings and the file ends after the first: refused, not
        // read as an empty name.
        {library({"tile_a", "set_b"}, "").substr(0, 4 + 2 + 2 + 6 + 2), "Could not read patchsets.bin: the file ends "
                                                                          "inside its string table"},
        {library({"tile_a"}, "").substr(0, 12), "Could not read patchsets.bin: the file ends inside its string table"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(readFailure(c.bytes), c.failure) << c.bytes.size() << " bytes";
}

TEST_F(PatchLibrary, SectionsAreReadAfterTheStringTableAndMustBeComplete) {
    SectionCounts seen;
    setPatchLibrarySectionReader(seen.reader());
    ByteWriter sections(16);
    for (std::uint16_t count : {3, 1, 4, 1})
        sections.writeU16(count);
    const std::string whole = library({"loam", "bedrock"}, written(sections));
    EXPECT_EQ(readFailure(whole), "no error");
    EXPECT_EQ(seen.strings, (std::vector<std::string>{"loam", "bedrock"}));
    EXPECT_EQ(seen.position, 4u + 2u + (2u + 4u) + (2u + 7u));
    EXPECT_EQ(seen.counts, (std::vector<int>{3, 1, 4, 1}));

    // A library cut anywhere inside its sections loads nothing as zeros.
    for (std::size_t cut = 1; cut <= 8; ++cut)
        EXPECT_EQ(readFailure(whole.substr(0, whole.size() - cut)),
                  "Could not read patchsets.bin: the file ends inside its sections")
            << cut;
    // The smallest library the size check lets through, with the sections the world reads.
    EXPECT_EQ(readFailure(std::string(12, '\0')), "Could not read patchsets.bin: the file ends inside its sections");
    EXPECT_EQ(readFailure(std::string(14, '\0')), "no error");
}

TEST_F(PatchLibrary, ReadsTheFileOfTheGameDataFolder) {
    test::TempFolder folder;
    test::ScopedEnv user("ZOR_USER_DIR", (folder / "user").string());
    initFileSystem((folder / "bundle").string());
    try {
        loadPatchSets();
        ADD_FAILURE() << "no error";
    } catch (const CheckReleaseError& error) {
        EXPECT_EQ(std::string(error.what()), "Could not read patchsets.bin");
    }
    SectionCounts seen;
    setPatchLibrarySectionReader(seen.reader());
    folder.write("bundle/patchsets.bin", library({"shalebury"}, std::string(8, '\0')));
    loadPatchSets();
    EXPECT_EQ(seen.strings, std::vector<std::string>{"shalebury"});
    EXPECT_EQ(seen.counts, (std::vector<int>{0, 0, 0, 0}));
}

} // namespace
} // namespace zor
