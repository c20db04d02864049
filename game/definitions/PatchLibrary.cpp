#include "game/definitions/PatchLibrary.h"

#include "Framework/core/Errors.h"
#include "Framework/core/io/ByteReader.h"
#include "Framework/core/io/Files.h"
#include "Framework/core/io/StringTable.h"

namespace zor {

namespace {

PatchLibrarySectionReader& sectionReader() {
    static PatchLibrarySectionReader reader;
    return reader;
}

constexpr std::size_t kMinimumSize = 12;
constexpr std::size_t kStringTableOffset = 4;

} // namespace

void setPatchLibrarySectionReader(PatchLibrarySectionReader reader) { sectionReader() = std::move(reader); }

void loadPatchSets() {
    ByteArray bytes;
    const std::size_t size = readFile(bytes, "patchsets.bin", FileLocation::GameData, false);
    readPatchLibrary(bytes, size);
}

void readPatchLibrary(const ByteArray& bytes, std::size_t size) { readPatchLibrary(bytes, size, sectionReader()); }

void readPatchLibrary(const ByteArray& bytes, std::size_t size, const PatchLibrarySectionReader& readSections) {
    if (size < kMinimumSize)
        throw CheckReleaseError("Could not read patchsets.bin");
    ByteReader reader(bytes, size, kStringTableOffset);
    StringTable strings;
    strings.read(reader);
    if (reader.overflow())
        throw CheckReleaseError("Could not read patchsets.bin: the file ends inside its string table");
    if (readSections) {
        readSections(reader, strings);
        if (reader.overflow())
            throw CheckReleaseError("Could not read patchsets.bin: the file ends inside its sections");
    }
}

} // namespace zor
