// Feeds arbitrary text to the definition readers. The first byte picks the kind, the rest
// is the file's content. Loading may fail only with CheckReleaseError, and whatever was
// registered must be consistent: every indexed name finds its record.
//   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DZOR_FUZZ=ON -DZOR_BENCHMARKS=OFF
//   cmake --build build-fuzz --target fuzz_definitions
//   build-fuzz/fuzz/fuzz_definitions -max_total_time=60

#include <cstddef>
#include <cstdint>
#include <string>

#include "Framework/core/Errors.h"
#include "game/definitions/BeamDefinition.h"
#include "game/definitions/DefinitionLoader.h"
#include "game/definitions/EffectDefinition.h"
#include "game/definitions/EnvironmentDefinition.h"
#include "game/definitions/GameObjectDefinition.h"
#include "game/definitions/MaterialDefinition.h"
#include "game/definitions/TextureDefinition.h"

namespace {

void check(bool condition) {
    if (!condition) __builtin_trap();
}

template <class T>
void load(const char* root, const char* element, const char* key, const std::string& text) {
    zor::DefinitionRegistry<T> registry(root, element, key);
    try {
        registry.loadText("Definitions/fuzz.xml", text);
    } catch (const zor::CheckReleaseError&) {
    }
    for (const auto& [name, index] : registry.nameIndex()) {
        check(index >= 0 && static_cast<std::size_t>(index) < registry.definitions().size());
        check(registry.find(name) == registry.definitions()[static_cast<std::size_t>(index)]);
        check(&registry.get(name) == registry.definitions()[static_cast<std::size_t>(index)].get());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    switch (data[0] % 6) {
    case 0: load<zor::TextureDefinition>("TextureDefinitions", "Texture", "@Name", text); break;
    case 1: load<zor::EffectDefinition>("EffectDefinitions", "Effect", "Name", text); break;
    case 2: load<zor::BeamDefinition>("BeamDefinitions", "Beam", "Name", text); break;
    case 3: load<zor::EnvironmentDefinition>("EnvironmentDefinitions", "Environment", "Name", text); break;
    case 4: load<zor::MaterialDefinition>("MaterialDefinitions", "Material", "Name", text); break;
    case 5: load<zor::GameObjectDefinition>("Objects", "Object", "Name", text); break;
    }
    return 0;
}
