// Parses texture map files from arbitrary text. A map that is accepted has one entry per
// line that is not blank, each with whole numbers scaled by the given factor; a rejected
// one names its file and line.
//   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DZOR_FUZZ=ON -DZOR_BENCHMARKS=OFF
//   cmake --build build-fuzz --target fuzz_atlas_map
//   build-fuzz/fuzz/fuzz_atlas_map -max_total_time=60

#include "Framework/core/Errors.h"
#include "Framework/core/text/TextUtils.h"
#include "Framework/graphics/textureset/AtlasMap.h"

#include <cmath>
#include <cstdint>
#include <string>

namespace {

void check(bool condition) {
    if (!condition) __builtin_trap();
}

bool wholeNumber(float value) { return std::isfinite(value) && value == std::floor(value); }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> lines = zor::splitLines(text);
    std::size_t filled = 0;
    for (const std::string& line : lines) filled += line.find_first_not_of(" \t") != std::string::npos;

    std::vector<zor::AtlasMapEntry> entries;
    try {
        entries = zor::parseAtlasMap(lines, "Sprites/fuzz/page0.map", 1.0f);
    } catch (const zor::CheckReleaseError& error) {
        const std::string message = error.what();
        check(message.find("Sprites/fuzz/page0.map") != std::string::npos);
        check(message.rfind("Bad line ", 0) == 0);
        return 0;
    }
    check(entries.size() == filled);
    for (const zor::AtlasMapEntry& entry : entries) {
        check(wholeNumber(entry.rect.x) && wholeNumber(entry.rect.y) && wholeNumber(entry.rect.w) &&
              wholeNumber(entry.rect.h));
    }
    const std::vector<zor::AtlasMapEntry> scaled = zor::parseAtlasMap(lines, "Sprites/fuzz/page0.map", 0.5f);
    check(scaled.size() == entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        check(scaled[i].name == entries[i].name);
        check(scaled[i].rect.w == entries[i].rect.w * 0.5f);
    }
    return 0;
}
