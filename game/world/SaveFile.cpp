#include "game/world/SaveFile.h"

#include "game/world/TileWords.h"
#include "game/world/progress/RecordLimits.h"
#include "game/world/progress/SaveState.h"

#include "Framework/core/Errors.h"
#include "Framework/core/io/ByteReader.h"
#include "Framework/core/io/StringTable.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace zor::SaveFile {

namespace {

constexpr std::size_t InitialCapacity = 65536;
constexpr std::uint32_t MaxTileBits = 8;

std::uint32_t checksumOf(const std::uint8_t* bytes, std::size_t size) {
    uLong crc = crc32(0L, Z_NULL, 0);
    // zlib takes at most 4 GiB a call.
    constexpr std::size_t Chunk = std::size_t(1) << 30;
    for (std::size_t done = 0; done < size; done += Chunk)
        crc = crc32(crc, bytes + done, uInt(std::min(Chunk, size - done)));
    return std::uint32_t(crc);
}

bool finite(const fpVector2& v) {
    return std::isfinite(v.x) && std::isfinite(v.y);
}

// A grid without cells is stored as no grid: the reader takes no side of 0.
const PersistentTileMap* storedMap(const PersistentLevelInfo& level) {
    const PersistentTileMap* map = level.tileMap.get();
    return map && map->width() > 0 && map->height() > 0 ? map : nullptr;
}

// Positions are where the player is put, so one that is not a number would break the
// physics: the reader refuses them, and the writer never writes them.
void checkPosition(const fpVector2& position, const std::string& what) {
    if (!finite(position)) throw CheckReleaseError("A save holds finite positions only, not the one of " + what);
}

void checkLimits(const SaveState& state) {
    std::size_t levels = 0;
    for (const auto& [name, level] : state.levels) {
        if (!level) continue;
        ++levels;
        if (const PersistentTileMap* map = storedMap(*level)) {
            if (map->width() > MaxMapSide || map->height() > MaxMapSide)
                throw CheckReleaseError("A save holds maps of at most " + std::to_string(MaxMapSide) + " by " +
                                        std::to_string(MaxMapSide) + " tiles, not " + std::to_string(map->width()) +
                                        " by " + std::to_string(map->height()) + " (level " + name + ")");
        }
        if (level->entities.size() > MaxEntityRecordBytes)
            throw CheckReleaseError("A save holds entity records of at most " + std::to_string(MaxEntityRecordBytes) +
                                    " bytes, not " + std::to_string(level->entities.size()) + " (level " + name + ")");
        checkPosition(level->playerPosition, "the player in " + name);
    }
    checkRecordCount(levels, MaxLevels, "level records");
    checkPosition(state.progress.returnPosition, "the return point");
}

void writeLevel(ByteWriter& writer, StringTableDynamic& names, const std::string& name,
                const PersistentLevelInfo& level) {
    writer.writeU16(recordNameIndex(names, name));
    writer.writeS32(level.seedLow);
    writer.writeS32(level.seedHigh);
    writer.writeU8(level.legacy ? 1 : 0);
    if (const PersistentTileMap* map = storedMap(level)) {
        writer.writeU16(std::uint16_t(map->width()));
        writer.writeU16(std::uint16_t(map->height()));
        writer.writeU8(std::uint8_t(TileWords::WrittenBits));
        for (const std::uint32_t word : TileWords::pack(*map)) writer.writeU32(word);
    } else {
        writer.writeU16(0);
    }
    writer.writeFloat(level.playerPosition.x);
    writer.writeFloat(level.playerPosition.y);
    writer.writeU16(std::uint16_t(level.entities.size()));
    writer.writeBytes(level.entities.data(), level.entities.size());
}

// The grid of a record whose width is not 0; false when its sides, bits or words do not
// hold.
bool readMap(ByteReader& reader, std::uint16_t width, PersistentLevelInfo& level) {
    const std::uint16_t height = reader.readU16();
    const std::uint8_t bits = reader.readU8();
    if (reader.overflow() || width > MaxMapSide || height < 1 || height > MaxMapSide || bits < 1 ||
        bits > MaxTileBits)
        return false;
    const std::size_t count = TileWords::wordCount(std::size_t(width) * height, bits);
    // Checked before the grid is made, so a cut file costs no allocation.
    if (reader.remaining() / 4 < count) return false;
    std::vector<std::uint32_t> words(count);
    for (std::uint32_t& word : words) word = reader.readU32();
    auto map = std::make_shared<PersistentTileMap>(width, height);
    TileWords::unpack(words, bits, *map);
    level.tileMap = std::move(map);
    return true;
}

bool readLevel(ByteReader& reader, const StringTable& names, std::uint16_t version, std::string& name,
               PersistentLevelInfo& level) {
    name = names.at(reader.readU16());
    level.seedLow = reader.readS32();
    level.seedHigh = reader.readS32();
    level.legacy = version < LegacyByteVersion || reader.readU8() != 0;
    const std::uint16_t width = reader.readU16();
    if (reader.overflow()) return false;
    if (width != 0 && !readMap(reader, width, level)) return false;
    reader.readFloat(level.playerPosition.x);
    reader.readFloat(level.playerPosition.y);
    const std::uint16_t length = reader.readU16();
    if (reader.overflow() || !finite(level.playerPosition) || reader.remaining() < length) return false;
    level.entities.resize(length);
    reader.readBytes(level.entities.data(), length);
    return !reader.overflow();
}

bool readBody(ByteReader& reader, std::uint16_t version, SaveState& state) {
    state.names.read(reader);
    if (reader.overflow()) return false;
    state.progress.read(reader, state.names, version);
    if (reader.overflow() || !finite(state.progress.returnPosition)) return false;
    state.readCheckpointValues(reader);
    const std::uint16_t levels = reader.readU16();
    if (reader.overflow() || levels > MaxLevels) return false;
    for (std::uint16_t i = 0; i < levels; ++i) {
        std::string name;
        auto level = std::make_shared<PersistentLevelInfo>();
        if (!readLevel(reader, state.names, version, name, *level)) return false;
        if (!state.levels.emplace(std::move(name), std::move(level)).second) return false;
    }
    return !reader.overflow() && reader.remaining() == 0;
}

} // namespace

ByteWriter encode(SaveState& state) {
    checkLimits(state);
    ByteWriter body(InitialCapacity);
    state.progress.write(body, state.names);
    state.writeCheckpointValues(body);
    std::size_t levels = 0;
    for (const auto& entry : state.levels) levels += entry.second ? 1 : 0;
    body.writeU16(std::uint16_t(levels));
    for (const auto& [name, level] : state.levels)
        if (level) writeLevel(body, state.names, name, *level);

    ByteWriter file(InitialCapacity);
    file.writeU16(Version);
    state.names.write(file);
    file.writeBytes(body.data().get(), body.size());
    file.writeU32(checksumOf(file.data().get(), file.size()));
    return file;
}

bool decode(const ByteArray& data, std::size_t size, SaveState& state) {
    if (size <= MinimumBytesExclusive) return false;
    const std::uint16_t version = ByteReader(data, size).readU16();
    if (version < OldestVersion || version > Version) return false;
    std::size_t contentSize = size;
    if (version >= ChecksumVersion) {
        contentSize -= ChecksumBytes;
        if (ByteReader(data, size, contentSize).readU32() != checksumOf(data.get(), contentSize)) return false;
    }
    ByteReader reader(data, contentSize);
    reader.readU16();
    SaveState read;
    if (!readBody(reader, version, read)) return false;
    state.swap(read);
    return true;
}

} // namespace zor::SaveFile
