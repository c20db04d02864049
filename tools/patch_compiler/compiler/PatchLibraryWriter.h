#pragma once
// Writes "patchsets.bin": four zero bytes, the string table of every name in the file, then
// the tile section, the patch-set section and the level-link section. The same content
// gives the same bytes.

#include <string>

#include "tools/patch_compiler/compiler/LibraryFile.h"

namespace zor {

// The file's bytes. Throws CheckReleaseError naming the record when a value does not fit
// its field (a count over 65535, a tile type number over 255, a margin beyond 16 bits).
std::string writePatchLibrary(const LibraryFile& library);

} // namespace zor
