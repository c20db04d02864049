#include "game/simulation/SaveSlotPersistence.h"

#include "game/simulation/GameSession.h"
#include "game/world/EntityRecords.h"
#include "game/world/World.h"
#include "game/world/WorldSaveFiles.h"

#include "Framework/core/io/ByteReader.h"
#include "Framework/core/log/LogHandler.h"
#include "Framework/core/settings/SettingsHandler.h"

#include <cstring>

namespace zor {

namespace {

constexpr const char* LogSource = "WorldSave";

bool savesOff(const GameSession* session) {
    return !session || SettingsHandler::instance().getBool("World.DisableSaves");
}

} // namespace

void SaveSlotPersistence::save(World& world, const GameSession* session) {
    if (savesOff(session)) return;
    writeWorldSave(world.saveState, session->currentSavegameFileName());
    session->save();
}

void SaveSlotPersistence::saveSession(const GameSession* session) {
    if (!savesOff(session)) session->save();
}

WorldPersistence::LoadResult SaveSlotPersistence::loadSave(World& world, const GameSession* session) {
    if (savesOff(session)) return LoadResult::Skipped;
    const BackedUpLoad load = readWorldSave(world.saveState, session->currentSavegameFileName());
    if (load.source == BackedUpLoad::Backup)
        LogHandler::log(LogHandler::Warning, LogSource,
                        "The save of slot " + std::to_string(session->currentProfile) + " came from its backup");
    if (load.lost()) return LoadResult::Lost;
    return load.source == BackedUpLoad::None ? LoadResult::Failed : LoadResult::Loaded;
}

void SaveSlotPersistence::writeEntities(const std::vector<Entity*>& entities, std::vector<std::uint8_t>& record,
                                        StringTableDynamic& names) {
    zor::writeEntities(entities, record, names);
}

void SaveSlotPersistence::readEntities(World& world, const std::vector<std::uint8_t>& record,
                                       const StringTable& names, std::vector<GameObject*>& out) {
    if (record.empty()) return;
    ByteArray bytes(new std::uint8_t[record.size()]);
    std::memcpy(bytes.get(), record.data(), record.size());
    ByteReader reader(bytes, record.size());
    zor::readEntities(reader, names, world.random(), out);
    if (reader.overflow())
        LogHandler::log(LogHandler::Warning, LogSource,
                        "The stored entities of " + (world.level ? world.level->name : std::string()) +
                            " end in a fault; " + std::to_string(out.size()) + " were restored");
}

} // namespace zor
