#pragma once
// Names stored once in a binary file and referred to by 16-bit index. Serialised as a
// 16-bit count followed by that many strings in the stream form of ByteWriter.

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

namespace zor {

class ByteReader;
class ByteWriter;

class StringTable {
public:
    // Most entries a table (and most bytes a string) can hold in the stored form.
    static constexpr std::size_t MaxEntries = 65535;

    virtual ~StringTable() = default;

    // Replaces the content; stops at the first overflow of the reader, leaving the rest of
    // the entries empty. Returns the new size.
    virtual std::size_t read(ByteReader& reader);
    // Throws CheckReleaseError when the table has more than MaxEntries entries.
    void write(ByteWriter& writer) const;

    // The string at `index`, or an empty string when the index is out of range.
    const std::string& at(std::size_t index) const;
    std::size_t size() const { return m_strings.size(); }
    const std::vector<std::string>& strings() const { return m_strings; }

protected:
    std::vector<std::string> m_strings;
};

// The writer's table: hands out an index for each new string.
class StringTableDynamic : public StringTable {
public:
    std::size_t read(ByteReader& reader) override;
    // The index of `text`, appending it when it is new.
    std::size_t indexOf(const std::string& text);

private:
    std::unordered_map<std::string, std::size_t> m_indices;
};

} // namespace zor
