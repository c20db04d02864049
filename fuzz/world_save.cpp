// Reads arbitrary bytes as a world save file, with the player progress and conversation
// records inside it. A file that reads keeps within the format's limits (levels, map
// sides, finite positions, variants within their conversations), and the game writes it
// again as a file that reads back and writes the same bytes once more.
//   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DZOR_FUZZ=ON -DZOR_BENCHMARKS=OFF
//   cmake --build build-fuzz --target fuzz_world_save
//   build-fuzz/fuzz/fuzz_world_save -max_total_time=60 build-fuzz/fuzz/corpus/world_save
// With ZOR_FUZZ_SEED_TO=<seed file> it writes a seed instead: a save using every
// definition below, with a level with a map and one without.

#include "game/definitions/ConversationDefinition.h"
#include "game/definitions/InventoryItemDefinition.h"
#include "game/definitions/QuestDefinition.h"
#include "game/world/SaveFile.h"
#include "game/world/progress/SaveState.h"

#include "Framework/core/Errors.h"
#include "Framework/core/io/ByteWriter.h"
#include "fuzz/support/FuzzFolders.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

void defineGameData() {
    zor::questRegistry().loadText("fuzz quests", R"(<QuestDefinitions>
        <Quest><Name>q_descent</Name><Goal Type="Scripted"/></Quest>
        <Quest><Name>q_drill</Name><Goal Type="HaveUpgrade" Value="drill_1"/></Quest>
      </QuestDefinitions>)");
    const std::string dialog = "<Dialog><Entry><Speaker>crake</Speaker><Text>line</Text></Entry></Dialog>";
    zor::conversationRegistry().loadText(
        "fuzz conversations", "<Conversations><Conversation><Name>crake_intro</Name>" + dialog + dialog +
                                  "</Conversation><Conversation><Name>silent</Name></Conversation></Conversations>");
    for (const char* name : {"copper", "amber"}) {
        auto item = std::make_shared<zor::InventoryItemDefinition>();
        item->name = name;
        item->maxCountPerStack = 25;
        zor::inventoryItemRegistry().add(name, item);
    }
}

std::vector<std::uint8_t> encoded(zor::SaveState& state) {
    const zor::ByteWriter file = zor::SaveFile::encode(state);
    return std::vector<std::uint8_t>(file.data().get(), file.data().get() + file.size());
}

bool decoded(const std::uint8_t* data, std::size_t size, zor::SaveState& state) {
    zor::ByteArray copy(new std::uint8_t[size + 1]);
    if (size > 0) std::memcpy(copy.get(), data, size);
    return zor::SaveFile::decode(copy, size, state);
}

bool finite(const zor::fpVector2& v) { return std::isfinite(v.x) && std::isfinite(v.y); }

void writeSeed(const char* to) {
    zor::SaveState state;
    zor::PlayerProgress& progress = state.progress;
    progress.inventory.slots = {{"copper", 12}, {"", 0}, {"amber", 3}};
    progress.cash = 420;
    progress.items.counts = {{"drill_1", 1}};
    progress.conversations.nextVariants = {{"crake_intro", 1}};
    progress.conversations.started = {"crake"};
    progress.questIndex = 1;
    progress.returnLevel = "shalebury";
    progress.secretsFound = 2;
    state.hitPoints = 6.0f;
    state.toolIndex = -1;
    auto mine = std::make_shared<zor::PersistentLevelInfo>();
    mine->tileMap = std::make_shared<zor::PersistentTileMap>(5, 4, zor::TileBits::Solid);
    mine->entities = {1, 0, 0, 0, 0, 0};
    state.levels["mine"] = mine;
    state.levels["town"] = std::make_shared<zor::PersistentLevelInfo>();
    zor::fuzz::writeSeedAndExit(to, encoded(state));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    defineGameData();
    if (const char* to = std::getenv("ZOR_FUZZ_SEED_TO")) writeSeed(to);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using zor::fuzz::check;
    zor::SaveState state;
    if (!decoded(data, size, state)) {
        check(state.levels.empty() && state.names.size() == 0);
        return 0;
    }
    check(state.levels.size() <= zor::SaveFile::MaxLevels);
    check(finite(state.progress.returnPosition));
    check(state.progress.questIndex >= 0);
    for (const auto& [name, variant] : state.progress.conversations.nextVariants) {
        const auto definition = zor::findConversationDefinition(name);
        check(definition && variant >= 0 && std::size_t(variant) < definition->sequence.size());
    }
    for (const auto& [name, level] : state.levels) {
        check(level && finite(level->playerPosition) && level->entities.size() <= zor::SaveFile::MaxEntityRecordBytes);
        if (const zor::PersistentTileMap* map = level->tileMap.get())
            check(map->width() >= 1 && map->width() <= zor::SaveFile::MaxMapSide && map->height() >= 1 &&
                  map->height() <= zor::SaveFile::MaxMapSide);
    }

    std::vector<std::uint8_t> first;
    try {
        first = encoded(state);
    } catch (const zor::CheckReleaseError&) {
        // Only a full table refuses a name a record refers to (an index beyond it names "").
        check(state.names.size() >= zor::StringTable::MaxEntries);
        return 0;
    }
    zor::SaveState reread;
    check(decoded(first.data(), first.size(), reread));
    check(reread.levels.size() == state.levels.size());
    check(encoded(reread) == first);
    return 0;
}
