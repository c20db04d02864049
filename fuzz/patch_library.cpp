// Reads arbitrary bytes as a patch library through the world's section readers. A library
// is refused only with CheckReleaseError, and a library that loads is whole: every layer
// and grid holds the cells its patch's size needs, every tile and resource value is within
// its table, and every link target is the record of its name.
//   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DZOR_FUZZ=ON -DZOR_BENCHMARKS=OFF
//   cmake --build build-fuzz --target fuzz_patch_library
//   build-fuzz/fuzz/fuzz_patch_library -max_total_time=60

#include <cstdint>
#include <cstring>
#include <memory>

#include "Framework/core/Errors.h"
#include "game/definitions/PatchLibrary.h"
#include "game/world/level/PatchLibrarySections.h"
#include "game/world/level/PatchLibraryTables.h"

namespace {

constexpr std::size_t kResourceCount = 12;

void check(bool condition) {
    if (!condition) __builtin_trap();
}

void checkWords(const std::vector<std::uint16_t>& words, std::size_t typeCount, bool unpaintedAllowed) {
    for (std::uint16_t word : words)
        check((unpaintedAllowed && word == zor::TileWord::Unpainted) || zor::TileWord::typeIndex(word) < typeCount);
}

void checkPatch(const zor::PatchSet& set, const zor::PatchSet::Patch& patch, std::size_t typeCount) {
    check(patch.owner == &set);
    const auto width = static_cast<std::size_t>(patch.width);
    const auto height = static_cast<std::size_t>(patch.height);
    if (patch.resourceGrid) {
        check(patch.resourceGrid->cells.size() == width * height);
        for (std::uint16_t value : patch.resourceGrid->cells) check(value <= kResourceCount);
    }
    std::int32_t step = 1;
    for (const auto& layer : patch.tileLayers) {
        if (!layer) continue;
        const auto scale = static_cast<std::size_t>(layer->scale);
        check(scale >= 1 && layer->tiles.size() == (height / scale) * (width / scale));
        checkWords(layer->tiles, typeCount, true);
        step = zor::combineStep(step, layer->scale);
    }
    check(patch.step == step && step >= 1);
}

void checkTables(const zor::PatchLibraryTables& tables) {
    const std::size_t typeCount = tables.tileTypes.size();
    for (const auto& [name, set] : tables.tileSets) {
        check(!set->tiles.empty());
        checkWords(set->tiles, typeCount, false);
    }
    for (const auto& [name, set] : tables.patchSets) {
        check(set->name == name);
        for (const auto& patch : set->patches) checkPatch(*set, *patch, typeCount);
    }
    for (const zor::LevelLink& level : tables.levelLinks) {
        check(tables.findLevelLink(level.name) == &level);
        for (const zor::LevelLinkEntry& link : level.links)
            check(link.target == tables.findLevelLink(link.targetName));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zor::ByteArray bytes(new std::uint8_t[size + 1]);
    if (size > 0) std::memcpy(bytes.get(), data, size);
    std::shared_ptr<zor::PatchLibraryTables> tables;
    try {
        zor::readPatchLibrary(bytes, size, [&](zor::ByteReader& reader, const zor::StringTable& strings) {
            tables = zor::readPatchLibrarySections(reader, strings, kResourceCount);
        });
    } catch (const zor::CheckReleaseError&) {
        return 0;
    }
    check(tables != nullptr);
    checkTables(*tables);
    return 0;
}
