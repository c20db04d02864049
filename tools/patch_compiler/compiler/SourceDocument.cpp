#include "tools/patch_compiler/compiler/SourceDocument.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace zor {

namespace {

bool isBlank(const char* text) { return std::strspn(text, " \t\r\n") == std::strlen(text); }

} // namespace

SourceDocument::SourceDocument(const SourceFile& file) : m_name(file.name) {
    m_lineStarts.push_back(0);
    for (std::size_t i = 0; i < file.text.size(); ++i)
        if (file.text[i] == '\n') m_lineStarts.push_back(i + 1);
    const pugi::xml_parse_result result = m_document.load_buffer(file.text.data(), file.text.size());
    if (!result) fail(lineAt(result.offset), std::string("not well-formed XML: ") + result.description());
    if (!root()) fail(1, "no document element");
}

int SourceDocument::lineAt(std::ptrdiff_t offset) const {
    if (offset < 0) return 0;
    const auto after = std::upper_bound(m_lineStarts.begin(), m_lineStarts.end(), static_cast<std::size_t>(offset));
    return static_cast<int>(after - m_lineStarts.begin());
}

int SourceDocument::lineOf(const pugi::xml_node& node) const { return lineAt(node.offset_debug()); }

void SourceDocument::fail(int line, const std::string& reason) const {
    throw SourceError(m_name + ":" + std::to_string(line) + ": " + reason);
}

SourceElement::SourceElement(const SourceDocument& document, pugi::xml_node node,
                             const std::vector<const char*>& attributes)
    : m_document(document), m_node(node) {
    for (const pugi::xml_attribute& attribute : m_node.attributes()) {
        const bool known = std::any_of(attributes.begin(), attributes.end(),
                                       [&](const char* name) { return std::strcmp(name, attribute.name()) == 0; });
        if (!known) fail("<" + std::string(m_node.name()) + "> has no attribute " + attribute.name());
    }
}

std::string SourceElement::text(const char* name, const std::string& fallback) const {
    const pugi::xml_attribute attribute = m_node.attribute(name);
    return attribute ? attribute.value() : fallback;
}

std::string SourceElement::requiredText(const char* name) const {
    if (!has(name)) fail("<" + std::string(m_node.name()) + "> needs the attribute " + name);
    return text(name);
}

std::int64_t SourceElement::integer(const char* name, std::int64_t fallback, std::int64_t low,
                                    std::int64_t high) const {
    if (!has(name)) return fallback;
    const char* value = m_node.attribute(name).value();
    char* end = nullptr;
    errno = 0;
    const long long parsed = std::strtoll(value, &end, 10);
    if (*value == '\0' || *end != '\0' || errno == ERANGE)
        fail(std::string(name) + " '" + value + "' is not a whole number");
    if (parsed < low || parsed > high)
        fail(std::string(name) + " " + value + " is outside " + std::to_string(low) + " to " + std::to_string(high));
    return parsed;
}

std::int64_t SourceElement::requiredInteger(const char* name, std::int64_t low, std::int64_t high) const {
    requiredText(name);
    return integer(name, 0, low, high);
}

float SourceElement::number(const char* name, float fallback) const {
    if (!has(name)) return fallback;
    const char* value = m_node.attribute(name).value();
    char* end = nullptr;
    const float parsed = std::strtof(value, &end);
    if (*value == '\0' || *end != '\0') fail(std::string(name) + " '" + value + "' is not a number");
    return parsed;
}

bool SourceElement::flag(const char* name, bool fallback) const {
    if (!has(name)) return fallback;
    const std::string value = text(name);
    if (value == "yes" || value == "true" || value == "1") return true;
    if (value == "no" || value == "false" || value == "0") return false;
    fail(std::string(name) + " '" + value + "' is not yes or no");
}

std::vector<pugi::xml_node> childElements(const SourceDocument& document, const pugi::xml_node& node) {
    std::vector<pugi::xml_node> elements;
    for (const pugi::xml_node& child : node.children()) {
        if (child.type() == pugi::node_element)
            elements.push_back(child);
        else if ((child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) && !isBlank(child.value()))
            document.fail(document.lineOf(child), "<" + std::string(node.name()) + "> holds text where elements belong");
    }
    return elements;
}

} // namespace zor
