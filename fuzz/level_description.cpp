// Loads arbitrary text as a level description, against a small patch library whose sets a
// slice without a size may name. A description is refused only with CheckReleaseError; one
// that loads has a size that is the sum and maximum of its slices, and its tile hardness
// is defined at every depth.
//   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DZOR_FUZZ=ON -DZOR_BENCHMARKS=OFF
//   cmake --build build-fuzz --target fuzz_level_description
//   build-fuzz/fuzz/fuzz_level_description -max_total_time=60

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>

#include "Framework/core/Errors.h"
#include "game/world/level/LevelDefinition.h"
#include "game/world/level/PatchLibraryTables.h"

namespace {

void check(bool condition) {
    if (!condition) __builtin_trap();
}

// "hall" holds one patch with a tile layer 0, "rooms" two.
const zor::PatchLibraryTables& library() {
    static const zor::PatchLibraryTables tables = [] {
        zor::PatchLibraryTables made;
        for (const auto& [name, count] : {std::pair<const char*, int>{"hall", 1}, {"rooms", 2}}) {
            auto set = std::make_shared<zor::PatchSet>();
            set->name = name;
            for (int i = 0; i < count; ++i) {
                auto patch = std::make_shared<zor::PatchSet::Patch>();
                patch->width = 12 + i;
                patch->height = 3;
                patch->tileLayers.push_back(std::make_shared<zor::PatchSet::TileLayer>());
                set->patches.push_back(patch);
            }
            made.patchSets[name] = set;
        }
        return made;
    }();
    return tables;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    zor::LevelDefinition level;
    try {
        level.load("fuzz", text, library());
    } catch (const zor::CheckReleaseError&) {
        return 0;
    }
    std::int64_t height = 0;
    std::int32_t width = 0;
    for (const zor::LevelSlice& slice : level.slices) {
        height += slice.height;
        width = std::max(width, slice.width);
    }
    height = std::clamp<std::int64_t>(height, std::numeric_limits<std::int32_t>::min(),
                                      std::numeric_limits<std::int32_t>::max());
    check(level.height == height);
    check(level.cameraPadding ? level.width >= width : level.width == width);
    check(level.disableBuilding || !level.isCave);
    for (float depth : {-1e30f, -100.5f, 0.0f, 41.0f, 1e30f, std::numeric_limits<float>::quiet_NaN()})
        level.tileHardness(depth);
    return 0;
}
