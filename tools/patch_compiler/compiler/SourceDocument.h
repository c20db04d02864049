#pragma once
// One XML source file of the patch compiler, with strict readers of its elements: every
// error names the file and the line ("rooms.xml:12: ...").

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include <pugixml.hpp>

namespace zor {

struct SourceFile {
    std::string name;  // shown in error texts
    std::string text;
};

// A fault in the sources, as "<file>:<line>: <reason>".
class SourceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class SourceDocument {
public:
    // Parses the file; throws SourceError for a document that is not well-formed.
    explicit SourceDocument(const SourceFile& file);
    SourceDocument(const SourceDocument&) = delete;
    SourceDocument& operator=(const SourceDocument&) = delete;

    pugi::xml_node root() const { return m_document.document_element(); }
    // 1-based line where the node starts.
    int lineOf(const pugi::xml_node& node) const;
    int lineAt(std::ptrdiff_t offset) const;
    [[noreturn]] void fail(int line, const std::string& reason) const;

private:
    std::string m_name;
    pugi::xml_document m_document;
    std::vector<std::size_t> m_lineStarts;
};

// An element whose attributes are read strictly: an attribute it does not know, a number
// that is not exactly a number and a flag other than yes, no, true, false, 1 or 0 are
// errors.
class SourceElement {
public:
    SourceElement(const SourceDocument& document, pugi::xml_node node, const std::vector<const char*>& attributes);

    const pugi::xml_node& node() const { return m_node; }
    const SourceDocument& document() const { return m_document; }
    int line() const { return m_document.lineOf(m_node); }

    bool has(const char* name) const { return static_cast<bool>(m_node.attribute(name)); }
    std::string text(const char* name, const std::string& fallback = "") const;
    std::string requiredText(const char* name) const;
    std::int64_t integer(const char* name, std::int64_t fallback, std::int64_t low, std::int64_t high) const;
    std::int64_t requiredInteger(const char* name, std::int64_t low, std::int64_t high) const;
    float number(const char* name, float fallback) const;
    bool flag(const char* name, bool fallback) const;

    [[noreturn]] void fail(const std::string& reason) const { m_document.fail(line(), reason); }

private:
    const SourceDocument& m_document;
    pugi::xml_node m_node;
};

// The child elements of `node`; text other than blanks between them is an error.
std::vector<pugi::xml_node> childElements(const SourceDocument& document, const pugi::xml_node& node);

} // namespace zor
