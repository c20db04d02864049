#pragma once
// The bytes of a world save file: the version, the string table, then the body of the save
// state (the progress snapshot, the checkpoint values and one record per visited level),
// then the checksum of all that.
// The table goes in front once the body is complete, so every name of the body is in it.

#include "Framework/core/io/ByteArray.h"
#include "Framework/core/io/ByteWriter.h"

#include <cstddef>
#include <cstdint>

namespace zor {

struct SaveState;

namespace SaveFile {

constexpr std::uint16_t Version = 20;
constexpr std::uint16_t OldestVersion = 17;
// Versions before it store no legacy byte: their levels are all legacy.
constexpr std::uint16_t LegacyByteVersion = 18;
// From this version on the file ends in the CRC-32 (zlib's, little-endian) of every byte
// before it; older files carry none and are read as they are.
constexpr std::uint16_t ChecksumVersion = 20;
constexpr std::size_t ChecksumBytes = 4;
// A file must be longer than this.
constexpr std::size_t MinimumBytesExclusive = 15;
constexpr std::size_t MaxLevels = 512;
constexpr std::int32_t MaxMapSide = 1024;
constexpr std::size_t MaxEntityRecordBytes = 65535;

// The file of the state, as it stands now, in the newest version. Every limit of the
// format (levels, map sides, entity record lengths, list counts, names, the table) and
// finite positions are checked before the record that holds them is written: one the file
// cannot hold throws CheckReleaseError saying which. Names missing from the state's table
// are added to it.
ByteWriter encode(SaveState& state);

// Reads a whole file into `state`, replacing it, when every check holds (the checksum
// first); otherwise false with `state` untouched. Never throws for any bytes.
bool decode(const ByteArray& data, std::size_t size, SaveState& state);

} // namespace SaveFile

} // namespace zor
