#include "game/world/WorldSaveFiles.h"

#include "game/world/SaveFile.h"
#include "game/world/World.h"

#include "Framework/core/Errors.h"
#include "Framework/core/io/Files.h"

#include <memory>
#include <utility>

namespace zor {

namespace {

// Every limit of the format is checked while the file is made in memory, before any file
// is touched.
ByteWriter encoded(SaveState& state, const std::string& name) {
    try {
        return SaveFile::encode(state);
    } catch (const CheckReleaseError& error) {
        throw CheckReleaseError("Failed to write savegame! " + resolvePath(name, FileLocation::User) + ": " +
                                error.what());
    }
}

} // namespace

std::string worldSaveFileName(std::int32_t slot) {
    return "savegame_" + std::to_string(slot) + ".dat";
}

void writeWorldSave(SaveState& state, const std::string& name) {
    const ByteWriter file = encoded(state, name);
    std::string cause;
    const auto reads = [](const ByteArray& data, std::size_t size) {
        SaveState scratch;
        return SaveFile::decode(data, size, scratch);
    };
    if (!writeBackedUpFile(name, file.data().get(), file.size(), reads, &cause))
        throw CheckReleaseError("Failed to write savegame! " + cause);
}

BackedUpLoad readWorldSave(SaveState& state, const std::string& name) {
    return loadBackedUpFile(name, [&state](const ByteArray& data, std::size_t size) {
        return SaveFile::decode(data, size, state);
    });
}

void discardSaveKeepCurrentLevel(World& world, std::int32_t slot) {
    auto& levels = world.saveState.levels;
    std::shared_ptr<PersistentLevelInfo> kept;
    if (world.level) {
        const auto found = levels.find(world.level->name);
        if (found != levels.end()) kept = std::move(found->second);
    }
    levels.clear();
    if (kept) levels.emplace(world.level->name, std::move(kept));
    if (slot == NoSaveSlot) return;
    const std::string file = worldSaveFileName(slot);
    deleteUserFile(file);
    deleteUserFile(file + ".backup");
}

} // namespace zor
