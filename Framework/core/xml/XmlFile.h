#pragma once
// An XML file of the game data folder, read whole and parsed in place. The document's
// strings point into the buffer, so both live exactly as long as the XmlFile.

#include <cstddef>
#include <string>

#include <pugixml.hpp>

#include "Framework/core/io/ByteArray.h"

namespace zor {

class XmlFile {
public:
    // Reads `name` from the game data folder. Throws CheckReleaseError when the file is
    // missing or empty, and when it is not well-formed (with the parser's reason and the
    // byte offset where it stopped).
    explicit XmlFile(const std::string& name);
    // Parses `size` bytes that are already in memory; `name` only appears in error texts.
    XmlFile(const std::string& name, ByteArray bytes, std::size_t size);

    XmlFile(const XmlFile&) = delete;
    XmlFile& operator=(const XmlFile&) = delete;

    // The document element, whatever its name.
    pugi::xml_node root() const { return m_root; }
    const pugi::xml_document& document() const { return m_document; }

private:
    void parse(const std::string& name, std::size_t size);

    // Declared before the document so that the document goes first on destruction.
    ByteArray m_buffer;
    pugi::xml_document m_document;
    pugi::xml_node m_root;
};

} // namespace zor
