#pragma once
// The read position inside one section of "patchsets.bin", for the section readers. Every
// read is checked as it is made: a file that ends inside a record, or a name index beyond
// the string table, throws CheckReleaseError naming the section and the record being read,
// so a cut or broken library never loads as zeros or empty names.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zor {

class ByteReader;
class StringTable;

class PatchLibraryCursor {
public:
    // `section` names the section in error texts ("patch-set section").
    PatchLibraryCursor(ByteReader& reader, const StringTable& strings, std::string section);

    // Names the record being read in error texts ("patch set 'rooms', patch 'hall'").
    void setRecord(std::string record) { m_record = std::move(record); }

    // True when the file ends exactly here: a table whose count would begin here is empty.
    bool atEnd() const;

    std::uint8_t u8();
    std::uint16_t u16();
    std::int16_t s16();
    std::uint32_t u32();
    float f32();
    bool flag();
    // A u16 index into the string table, as its text.
    std::string name();
    // `count` u16 values; refuses the file before allocating when their bytes are missing.
    std::vector<std::uint16_t> u16Array(std::size_t count);
    // Refuses the file when fewer than count * size bytes are left (checked before a table
    // of fixed-size records is allocated).
    void requireRecords(std::size_t count, std::size_t size) const;

    // Refuses a word whose tile index is beyond a table of `typeCount` tile types; with
    // `unpaintedAllowed` the unpainted word 0xFFFF passes.
    void checkTileWords(const std::vector<std::uint16_t>& words, std::size_t typeCount, bool unpaintedAllowed) const;

    [[noreturn]] void fail(const std::string& reason) const;

private:
    // Throws when the previous read passed the end of the file.
    void checkNotCut() const;

    ByteReader& m_reader;
    const StringTable& m_strings;
    std::string m_section;
    std::string m_record;
};

// "'name'" for error texts.
std::string quoted(const std::string& name);

} // namespace zor
