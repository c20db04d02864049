#pragma once
// The world save files of the save slots.

#include <cstdint>
#include <string>

namespace zor {

class World;

// "savegame_" + slot + ".dat" in the user folder; its previous version is kept beside it
// with ".backup" appended.
std::string worldSaveFileName(std::int32_t slot);

// The slot of a game without a save slot (tests, tools).
constexpr std::int32_t NoSaveSlot = -1;

// Forgets every level record of the World's save state but the current level's, and
// deletes the slot's save file and its ".backup" (the debug command "game"/"clearPersistent").
// With NoSaveSlot no file is touched.
void discardSaveKeepCurrentLevel(World& world, std::int32_t slot);

} // namespace zor
