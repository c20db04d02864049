#pragma once
// The world save of the current slot: the level flow's saves, checkpoints and visited
// levels go through it. Saves are off while "World.DisableSaves" is set and for a game
// without a session; then no file is looked at.

#include "game/simulation/seams/WorldPersistence.h"

namespace zor {

class SaveSlotPersistence final : public WorldPersistence {
public:
    // Writes the slot's world save, then the session. Throws CheckReleaseError when either
    // could not be written; a save that breaks a limit of the format changes no file.
    void save(World& world, const GameSession* session) override;
    void saveSession(const GameSession* session) override;
    LoadResult loadSave(World& world, const GameSession* session) override;
    void writeEntities(const std::vector<Entity*>& entities, std::vector<std::uint8_t>& record,
                       StringTableDynamic& names) override;
    void readEntities(World& world, const std::vector<std::uint8_t>& record, const StringTable& names,
                      std::vector<GameObject*>& out) override;
};

} // namespace zor
