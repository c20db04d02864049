#include "Framework/core/xml/XmlFile.h"

#include "Framework/core/Errors.h"
#include "Framework/core/io/Files.h"

namespace zor {

XmlFile::XmlFile(const std::string& name) {
    const std::size_t size = readFile(m_buffer, name, FileLocation::GameData, false);
    parse(name, size);
}

XmlFile::XmlFile(const std::string& name, ByteArray bytes, std::size_t size) : m_buffer(std::move(bytes)) {
    parse(name, size);
}

void XmlFile::parse(const std::string& name, std::size_t size) {
    if (size == 0 || !m_buffer)
        throw CheckReleaseError("Could not read file " + name);
    // A document that stops half-way must not pass for a complete one: loaders would
    // silently lose every definition after the fault.
    pugi::xml_parse_result result = m_document.load_buffer_inplace(m_buffer.get(), size);
    if (!result)
        throw CheckReleaseError("Could not parse file " + name + ": " + result.description() + " at offset " +
                                std::to_string(result.offset));
    m_root = m_document.document_element();
}

} // namespace zor
