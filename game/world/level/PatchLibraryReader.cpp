#include "game/definitions/PatchLibrary.h"
#include "game/definitions/ResourceDefinition.h"
#include "game/world/level/PatchLibrarySections.h"
#include "game/world/level/PatchLibraryTables.h"

namespace zor {

std::shared_ptr<PatchLibraryTables> readPatchLibrarySections(ByteReader& reader, const StringTable& strings,
                                                            std::size_t resourceCount) {
    auto tables = std::make_shared<PatchLibraryTables>();
    readTileSection(reader, strings, *tables);
    readPatchSetSection(reader, strings, resourceCount, *tables);
    readLevelLinkSection(reader, strings, *tables);
    return tables;
}

std::shared_ptr<PatchLibraryTables> readPatchLibraryTables(const ByteArray& bytes, std::size_t size,
                                                          std::size_t resourceCount) {
    std::shared_ptr<PatchLibraryTables> tables;
    readPatchLibrary(bytes, size, [&](ByteReader& reader, const StringTable& strings) {
        tables = readPatchLibrarySections(reader, strings, resourceCount);
    });
    return tables;
}

void installPatchLibraryReader() {
    setPatchLibrarySectionReader([](ByteReader& reader, const StringTable& strings) {
        setPatchLibrary(readPatchLibrarySections(reader, strings, resourceRegistry().definitions().size()));
    });
}

} // namespace zor
