#pragma once
// The frame of the patch library "patchsets.bin": four bytes that are not interpreted,
// the string table every name of the file refers to, then the sections of the world
// (tile types and tile sets, patch sets, level links), which the world code reads through
// the section reader it installs.

#include <cstddef>
#include <functional>

#include "Framework/core/io/ByteArray.h"

namespace zor {

class ByteReader;
class StringTable;

// Reads every section in file order from `reader`, positioned after the string table.
using PatchLibrarySectionReader = std::function<void(ByteReader& reader, const StringTable& strings)>;

// Installed once by the world code before the load-all job is posted; until then only
// the frame is read and checked.
void setPatchLibrarySectionReader(PatchLibrarySectionReader reader);

// Reads "patchsets.bin" from the game data folder. Throws CheckReleaseError "Could not
// read patchsets.bin" for a file under 12 bytes (or none), and with a reason when the
// file ends inside its string table or its sections: a cut library must not load as zeros.
void loadPatchSets();
// The same over bytes already in memory.
void readPatchLibrary(const ByteArray& bytes, std::size_t size);
// The same with the sections read by `readSections` rather than the installed reader.
void readPatchLibrary(const ByteArray& bytes, std::size_t size, const PatchLibrarySectionReader& readSections);

} // namespace zor
