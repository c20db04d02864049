#pragma once
// "patchsets.bin" as text, read by the game's own readers: what the game loads from it.

#include <string>

namespace zor {

// One line per record, indented under its owner; tile layers and resource grids as rows
// of hexadecimal words. Throws CheckReleaseError for a file the game refuses (resource
// values are not checked: the dump knows no resource registry).
std::string dumpPatchLibrary(const std::string& bytes);

} // namespace zor
