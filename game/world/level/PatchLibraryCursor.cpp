#include "game/world/level/PatchLibraryCursor.h"

#include "Framework/core/Errors.h"
#include "Framework/core/io/ByteReader.h"
#include "Framework/core/io/StringTable.h"
#include "game/world/level/TileType.h"

#include <cstring>

namespace zor {

PatchLibraryCursor::PatchLibraryCursor(ByteReader& reader, const StringTable& strings, std::string section)
    : m_reader(reader), m_strings(strings), m_section(std::move(section)) {}

bool PatchLibraryCursor::atEnd() const { return m_reader.remaining() == 0 && !m_reader.overflow(); }

std::uint8_t PatchLibraryCursor::u8() {
    const std::uint8_t value = m_reader.readU8();
    checkNotCut();
    return value;
}

std::uint16_t PatchLibraryCursor::u16() {
    const std::uint16_t value = m_reader.readU16();
    checkNotCut();
    return value;
}

std::int16_t PatchLibraryCursor::s16() {
    const std::uint16_t bits = u16();
    std::int16_t value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

std::uint32_t PatchLibraryCursor::u32() {
    const std::uint32_t value = m_reader.readU32();
    checkNotCut();
    return value;
}

float PatchLibraryCursor::f32() {
    float value = 0.0f;
    m_reader.readFloat(value);
    checkNotCut();
    return value;
}

bool PatchLibraryCursor::flag() { return u8() != 0; }

std::string PatchLibraryCursor::name() {
    const std::uint16_t index = u16();
    if (index >= m_strings.size())
        fail("name index " + std::to_string(index) + " is beyond the string table (" +
             std::to_string(m_strings.size()) + " names)");
    return m_strings.at(index);
}

std::vector<std::uint16_t> PatchLibraryCursor::u16Array(std::size_t count) {
    requireRecords(count, sizeof(std::uint16_t));
    std::vector<std::uint16_t> values(count);
    for (std::uint16_t& value : values)
        value = m_reader.readU16();
    return values;
}

void PatchLibraryCursor::requireRecords(std::size_t count, std::size_t size) const {
    if (m_reader.remaining() / size < count)
        fail("the file ends inside its sections");
}

void PatchLibraryCursor::checkTileWords(const std::vector<std::uint16_t>& words, std::size_t typeCount,
                                        bool unpaintedAllowed) const {
    for (std::uint16_t word : words) {
        if (unpaintedAllowed && word == TileWord::Unpainted) continue;
        if (TileWord::typeIndex(word) >= typeCount)
            fail("tile index " + std::to_string(TileWord::typeIndex(word)) + " is beyond the tile-type table (" +
                 std::to_string(typeCount) + " types)");
    }
}

void PatchLibraryCursor::fail(const std::string& reason) const {
    std::string where = m_section;
    if (!m_record.empty())
        where += ", " + m_record;
    throw CheckReleaseError("Could not read patchsets.bin: " + reason + " (" + where + ")");
}

void PatchLibraryCursor::checkNotCut() const {
    if (m_reader.overflow())
        fail("the file ends inside its sections");
}

std::string quoted(const std::string& name) { return "'" + name + "'"; }

} // namespace zor
