// Reads arbitrary text as a texture set list "atlas.lst" and, after the first zero byte,
// as the map file "page0.map" beside it. Loading may fail only with CheckReleaseError;
// every sub-texture of a loaded set is found with its page.
//   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DZOR_FUZZ=ON -DZOR_BENCHMARKS=OFF
//   cmake --build build-fuzz --target fuzz_texture_set_list
//   build-fuzz/fuzz/fuzz_texture_set_list -max_total_time=60 build-fuzz/fuzz/corpus/texture_set_list

#include "Framework/core/Errors.h"
#include "Framework/graphics/texture/Texture.h"
#include "Framework/graphics/textureset/TextureSet.h"
#include "fuzz/support/FuzzFolders.h"

#include <cstdint>
#include <memory>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using zor::fuzz::check;
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\0');
    zor::fuzz::writeInput(zor::FileLocation::GameData, "Sprites/fuzz/atlas.lst", input.substr(0, split));
    zor::fuzz::writeInput(zor::FileLocation::GameData, "Sprites/fuzz/page0.map",
                          split == std::string::npos ? std::string() : input.substr(split + 1));
    std::unique_ptr<zor::TextureSet> set;
    try {
        set = zor::loadTextureSet("Sprites/fuzz/atlas.lst");
    } catch (const zor::CheckReleaseError&) {
    }
    if (set) {
        for (const auto& texture : set->textures()) check(texture && texture->cached());
    }
    set.reset();
    zor::Texture::purgeCache();
    return 0;
}
