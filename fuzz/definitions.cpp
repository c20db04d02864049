// Feeds arbitrary text to the definition readers. The first byte picks the kind, the rest
// is the file's content (for the last kind: the bytes of a patch library). Loading may
// fail only with CheckReleaseError, and whatever was registered must be consistent: every
// indexed name finds its record, and what the game reads from a record is there.
//   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DZOR_FUZZ=ON -DZOR_BENCHMARKS=OFF
//   cmake --build build-fuzz --target fuzz_definitions
//   build-fuzz/fuzz/fuzz_definitions -max_total_time=60

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "Framework/core/Errors.h"
#include "Framework/core/math/Randomizer.h"
#include "game/definitions/ActorDefinition.h"
#include "game/definitions/BeamDefinition.h"
#include "game/definitions/CharacterDefinition.h"
#include "game/definitions/ConversationDefinition.h"
#include "game/definitions/DefinitionLoader.h"
#include "game/definitions/EffectDefinition.h"
#include "game/definitions/EnvironmentDefinition.h"
#include "game/definitions/ExperienceDefinition.h"
#include "game/definitions/GameObjectDefinition.h"
#include "game/definitions/MachineTables.h"
#include "game/definitions/MaterialDefinition.h"
#include "game/definitions/MaxCountDefinition.h"
#include "game/definitions/PatchLibrary.h"
#include "game/definitions/ProjectileDefinition.h"
#include "game/definitions/QuestDefinition.h"
#include "game/definitions/ResourceDefinition.h"
#include "game/definitions/ShopDefinition.h"
#include "game/definitions/TextureDefinition.h"
#include "game/definitions/UpgradeDefinition.h"
#include "game/world/entity/BehaviorMachine.h"

namespace {

void check(bool condition) {
    if (!condition) __builtin_trap();
}

template <class T, class Check>
void load(const zor::DefinitionRegistry<T>& kind, const std::string& text, Check checkRecords) {
    zor::DefinitionRegistry<T> registry(kind.rootName(), kind.elementName(), kind.key());
    try {
        registry.loadText("Definitions/fuzz.xml", text);
    } catch (const zor::CheckReleaseError&) {
    }
    for (const auto& [name, index] : registry.nameIndex()) {
        check(index >= 0 && static_cast<std::size_t>(index) < registry.definitions().size());
        check(registry.find(name) == registry.definitions()[static_cast<std::size_t>(index)]);
        check(&registry.get(name) == registry.definitions()[static_cast<std::size_t>(index)].get());
    }
    checkRecords(registry);
}

template <class T>
void load(const zor::DefinitionRegistry<T>& kind, const std::string& text) {
    load(kind, text, [](const zor::DefinitionRegistry<T>&) {});
}

void loadGameObjects(const std::string& text) {
    static zor::DefinitionRegistry<zor::GameObjectDefinition> kind("Objects", "Object", "Name");
    load(kind, text);
}

void checkResources(const zor::DefinitionRegistry<zor::ResourceDefinition>& resources) {
    zor::DefinitionRegistry<zor::InventoryItemDefinition> items("InventoryDefinitions", "InventoryItem", "Name");
    zor::registerInventoryItems(resources, items);
    check(items.definitions().size() == resources.nameIndex().size());
}

void checkUpgrades(const zor::DefinitionRegistry<zor::UpgradeDefinition>& upgrades) {
    for (const auto& upgrade : upgrades.definitions()) {
        check(!upgrade->tiers.empty());
        check(&upgrade->tier(-1) == &upgrade->tiers.front() && &upgrade->tier(1 << 30) == &upgrade->tiers.back());
    }
}

void checkConversations(const zor::DefinitionRegistry<zor::ConversationDefinition>& conversations) {
    zor::Randomizer randomizer(1, 2);
    for (const auto& conversation : conversations.definitions())
        for (const auto& entry : conversation->sequence) {
            const zor::DialogDefinition* dialog = entry->dialog(randomizer);
            check(dialog != nullptr && dialog->entryIndex.count("exit") == 1);
            for (const auto& [name, position] : dialog->entryIndex)
                check(position >= 0 && static_cast<std::size_t>(position) <= dialog->entries.size());
            for (const auto& line : dialog->entries)
                check(!line.next.empty());
        }
}

void checkMachines(const zor::DefinitionRegistry<zor::MachineDefinition>& machines) {
    zor::MachineTable table;
    try {
        zor::buildMachineTable(machines, "Definitions/fuzz.xml", table);
    } catch (const zor::CheckReleaseError&) {
    }
    for (const auto& [name, record] : table) {
        check(record != nullptr && record->name == name);
        // A compiled machine always runs: every state it can reach exists.
        const auto machine = zor::makeBehaviorMachine(record);
        for (const auto& state : record->children)
            for (const auto& transition : state->transitions) {
                machine->postEvent(transition.input);
                machine->update();
            }
    }
}

void readLibrary(const std::uint8_t* data, std::size_t size) {
    zor::ByteArray bytes(new std::uint8_t[size + 1]);
    std::memcpy(bytes.get(), data, size);
    try {
        zor::readPatchLibrary(bytes, size);
    } catch (const zor::CheckReleaseError&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    switch (data[0] % 18) {
    case 0: load(zor::textureRegistry(), text); break;
    case 1: load(zor::effectRegistry(), text); break;
    case 2: load(zor::beamRegistry(), text); break;
    case 3: load(zor::environmentRegistry(), text); break;
    case 4: load(zor::materialRegistry(), text); break;
    case 5: loadGameObjects(text); break;
    case 6: load(zor::actorRegistry(), text); break;
    case 7: load(zor::projectileRegistry(), text); break;
    case 8: load(zor::resourceRegistry(), text, checkResources); break;
    case 9: load(zor::characterRegistry(), text); break;
    case 10: load(zor::shopRegistry(), text); break;
    case 11: load(zor::upgradeRegistry(), text, checkUpgrades); break;
    case 12: load(zor::experienceRegistry(), text); break;
    case 13: load(zor::maxCountRegistry(), text); break;
    case 14: load(zor::questRegistry(), text); break;
    case 15: load(zor::conversationRegistry(), text, checkConversations); break;
    case 16: load(zor::behaviorRegistry(), text, checkMachines); break;
    case 17: readLibrary(data + 1, size - 1); break;
    }
    return 0;
}
