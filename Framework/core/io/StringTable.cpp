#include "Framework/core/io/StringTable.h"

#include "Framework/core/Errors.h"
#include "Framework/core/io/ByteReader.h"
#include "Framework/core/io/ByteWriter.h"

namespace zor {

std::size_t StringTable::read(ByteReader& reader) {
    m_strings.resize(reader.readU16());
    for (std::string& entry : m_strings) {
        if (reader.overflow()) break;
        reader.readString(entry);
    }
    return m_strings.size();
}

void StringTable::write(ByteWriter& writer) const {
    if (m_strings.size() > MaxEntries)
        throw CheckReleaseError("String table too large for a binary file: " + std::to_string(m_strings.size()) +
                                " entries, at most " + std::to_string(MaxEntries) + " allowed");
    writer.writeU16(static_cast<std::uint16_t>(m_strings.size()));
    for (const std::string& entry : m_strings) writer.writeString(entry);
}

const std::string& StringTable::at(std::size_t index) const {
    static const std::string empty;
    return index < m_strings.size() ? m_strings[index] : empty;
}

std::size_t StringTableDynamic::read(ByteReader& reader) {
    StringTable::read(reader);
    m_indices.clear();
    for (std::size_t i = 0; i < m_strings.size(); ++i) m_indices[m_strings[i]] = i;
    return m_strings.size();
}

std::size_t StringTableDynamic::indexOf(const std::string& text) {
    std::size_t& index = m_indices[text];
    if (index != 0) return index;
    // A mapped 0 is either the first entry or a text just inserted.
    if (!m_strings.empty() && m_strings.front() == text) return 0;
    index = m_strings.size();
    m_strings.push_back(text);
    return index;
}

} // namespace zor
