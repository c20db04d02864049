#pragma once
// The world save file of the current slot and the entity records of visited levels. The
// bodies here keep nothing: save writes no file, loadSave reads none, a checkpoint stores an
// empty entity record and a visited level restores no entities. The game's factory makes
// the save slot's (SaveSlotPersistence).
//
// Called inside the level flow: loadSave and the entity records on the worker while the
// Game is built or changes level, save always on the main thread (the level flow posts it
// there).

#include "game/world/progress/SaveState.h"

#include <cstdint>
#include <vector>

namespace zor {

class Entity;
class GameObject;
class GameSession;
class StringTable;
class StringTableDynamic;
class World;

class WorldPersistence {
public:
    enum class LoadResult {
        Loaded,   // the World's save state was replaced by the slot's
        Failed,   // neither the file nor its ".backup" could be read: a fresh start
        Lost,     // as Failed, but files were there: they are moved aside and the player told
        Skipped,  // saves are disabled, or there is no slot: nothing was looked at
    };

    virtual ~WorldPersistence() = default;

    // Writes the World's save state to the current slot's file; throws CheckReleaseError
    // when it cannot. Nothing for a null session or while "World.DisableSaves" is set.
    virtual void save(World& world, const GameSession* session);
    // Writes the session file alone (play has started in its current slot); throws
    // CheckReleaseError when it cannot. Nothing for a null session or while
    // "World.DisableSaves" is set.
    virtual void saveSession(const GameSession* session);
    // Must not write settings: a Failed or Lost load resets "Profile.RespawnLevel", which
    // the level flow does on the main thread. Its only file change is moving aside a save
    // that does not read, which nothing on the main thread touches meanwhile.
    virtual LoadResult loadSave(World& world, const GameSession* session);
    // Replaces `record` by the entity record of `entities` (persistent actors and
    // resources, sorted by id); names go into `names`.
    virtual void writeEntities(const std::vector<Entity*>& entities, std::vector<std::uint8_t>& record,
                               StringTableDynamic& names);
    // Appends the game objects of an entity record, made and set up but not registered;
    // the caller owns them until it registers them. Stops at the first fault, keeping what
    // was read before it.
    virtual void readEntities(World& world, const std::vector<std::uint8_t>& record, const StringTable& names,
                              std::vector<GameObject*>& out);
};

} // namespace zor
