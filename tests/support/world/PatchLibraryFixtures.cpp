#include "tests/support/world/PatchLibraryFixtures.h"

#include <cstring>

#include "Framework/core/io/ByteReader.h"
#include "Framework/core/io/StringTable.h"
#include "game/world/level/PatchLibrarySections.h"
#include "tools/patch_compiler/compiler/PatchCompiler.h"

namespace zor::test {

GameDataNames fixtureNames() {
    GameDataNames names;
    names.resources = {"copper_ore", "tin_ore", "glimmer_shard"};
    names.materials = {"loam", "bedrock"};
    names.levels = {"town", "mine", "cave"};
    return names;
}

std::string compileLibrary(const std::vector<std::string>& sources, const GameDataNames& names) {
    std::vector<SourceFile> files;
    for (std::size_t i = 0; i < sources.size(); ++i) files.push_back({"source" + std::to_string(i) + ".xml", sources[i]});
    return compilePatchLibrary(files, names);
}

ByteArray byteArrayOf(const std::string& bytes) {
    ByteArray data(new std::uint8_t[bytes.size() + 1]);
    std::memcpy(data.get(), bytes.data(), bytes.size());
    return data;
}

std::size_t sectionsStart(const std::string& bytes) {
    ByteReader reader(byteArrayOf(bytes), bytes.size(), 4);
    StringTable().read(reader);
    return reader.position();
}

std::shared_ptr<PatchLibraryTables> readLibrary(const std::string& bytes, std::size_t resourceCount) {
    return readPatchLibraryTables(byteArrayOf(bytes), bytes.size(), resourceCount);
}

std::shared_ptr<const PatchLibraryTables> useCompiledLibrary(const std::vector<std::string>& sources,
                                                            const GameDataNames& names) {
    std::shared_ptr<const PatchLibraryTables> tables = readLibrary(compileLibrary(sources, names));
    setPatchLibrary(tables);
    return tables;
}

} // namespace zor::test
