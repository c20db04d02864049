#pragma once
// The world save files of the save slots.

#include "Framework/core/io/BackedUpFile.h"

#include <cstdint>
#include <string>

namespace zor {

class World;
struct SaveState;

// "savegame_" + slot + ".dat" in the user folder; its previous version is kept beside it
// with ".backup" appended.
std::string worldSaveFileName(std::int32_t slot);

// The slot of a game without a save slot (tests, tools).
constexpr std::int32_t NoSaveSlot = -1;

// Writes the state to the user file `name`. The present file becomes the ".backup" only
// when it reads; one that does not is moved aside. Throws CheckReleaseError "Failed to
// write savegame!" with the file's path and the cause when the file could not be written,
// or when the state breaks a limit of the format: then no file has changed.
void writeWorldSave(SaveState& state, const std::string& name);

// Replaces the state by the user file `name`, else by its ".backup"; a file that is there
// but does not read is moved aside first. When neither reads the state is unchanged.
BackedUpLoad readWorldSave(SaveState& state, const std::string& name);

// Forgets every level record of the World's save state but the current level's, and
// deletes the slot's save file and its ".backup" (the debug command "game"/"clearPersistent").
// With NoSaveSlot no file is touched.
void discardSaveKeepCurrentLevel(World& world, std::int32_t slot);

} // namespace zor
