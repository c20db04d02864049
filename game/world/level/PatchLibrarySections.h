#pragma once
// Reading the sections of "patchsets.bin" after its string table: the tile section, the
// patch-set section and the level-link section, in this order with one reader. Every name
// is an index into the file's string table.
//
// A library is taken whole or not at all: a file that ends inside a record, a name index
// beyond the string table, a tile index beyond the tile-type table (in tile sets and tile
// layers; 0xFFFF, the unpainted cell, is allowed in layers) or a resource value beyond the
// resource registry throws CheckReleaseError "Could not read patchsets.bin: <reason>
// (<section>, <record>)". A file that ends exactly where a table's count would begin holds
// that table and every later one empty.

#include <cstddef>
#include <memory>

#include "Framework/core/io/ByteArray.h"

namespace zor {

class ByteReader;
class StringTable;
struct PatchLibraryTables;

// Tile types (replacing the table) and tile sets (a later set of a name replaces an
// earlier one; a set without entries is not stored).
void readTileSection(ByteReader& reader, const StringTable& strings, PatchLibraryTables& tables);
// Patch sets (a later set of a name replaces an earlier one); needs the tile types read.
// Resource grid values must lie in 0 to resourceCount.
void readPatchSetSection(ByteReader& reader, const StringTable& strings, std::size_t resourceCount,
                         PatchLibraryTables& tables);
// Level links (a later record of a name replaces an earlier one's flag and links); link
// targets are resolved once all records are read.
void readLevelLinkSection(ByteReader& reader, const StringTable& strings, PatchLibraryTables& tables);

// All three sections into new tables.
std::shared_ptr<PatchLibraryTables> readPatchLibrarySections(ByteReader& reader, const StringTable& strings,
                                                            std::size_t resourceCount);

// A whole "patchsets.bin" in memory (its frame too) into new tables that are not published.
std::shared_ptr<PatchLibraryTables> readPatchLibraryTables(const ByteArray& bytes, std::size_t size,
                                                          std::size_t resourceCount);

// Hands the definitions' loader of "patchsets.bin" the reader that publishes each good
// library as the one in use, checking resource values against the resource registry.
// Called once at start-up, before the load-all job runs.
void installPatchLibraryReader();

} // namespace zor
