#include "Framework/core/xml/XmlValues.h"

#include <cstdlib>
#include <limits>
#include <stdexcept>

namespace zor {

int parseLenientInt(const char* text) {
    const long long value = std::strtoll(text, nullptr, 10);
    if (value > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (value < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

float parseLenientFloat(const char* text) { return std::strtof(text, nullptr); }

bool parseFlag(const char* text) {
    switch (text[0]) {
    case '1':
    case 't':
    case 'T':
    case 'y':
    case 'Y':
        return true;
    default:
        return false;
    }
}

const char* xmlChildText(const pugi::xml_node& node, const char* name) {
    const pugi::xml_text text = node.child(name).text();
    return text ? text.get() : nullptr;
}

int xmlChildInt(const pugi::xml_node& node, const char* name, int fallback) {
    const char* text = xmlChildText(node, name);
    return text ? parseLenientInt(text) : fallback;
}

float xmlChildFloat(const pugi::xml_node& node, const char* name, float fallback) {
    const char* text = xmlChildText(node, name);
    return text ? parseLenientFloat(text) : fallback;
}

bool xmlChildBool(const pugi::xml_node& node, const char* name, bool fallback) {
    const char* text = xmlChildText(node, name);
    return text ? parseFlag(text) : fallback;
}

std::string xmlChildString(const pugi::xml_node& node, const char* name, const std::string& fallback) {
    const char* text = xmlChildText(node, name);
    return text ? std::string(text) : fallback;
}

int xmlAttributeInt(const pugi::xml_node& node, const char* name, int fallback) {
    const pugi::xml_attribute attribute = node.attribute(name);
    return attribute ? parseLenientInt(attribute.value()) : fallback;
}

float xmlAttributeFloat(const pugi::xml_node& node, const char* name, float fallback) {
    const pugi::xml_attribute attribute = node.attribute(name);
    return attribute ? parseLenientFloat(attribute.value()) : fallback;
}

bool xmlAttributeBool(const pugi::xml_node& node, const char* name, bool fallback) {
    const pugi::xml_attribute attribute = node.attribute(name);
    return attribute ? parseFlag(attribute.value()) : fallback;
}

std::string xmlAttributeString(const pugi::xml_node& node, const char* name, const std::string& fallback) {
    const pugi::xml_attribute attribute = node.attribute(name);
    return attribute ? std::string(attribute.value()) : fallback;
}

pugi::xml_node requireXmlChild(const pugi::xml_node& node, const char* name) {
    const pugi::xml_node child = node.child(name);
    if (!child)
        throw std::runtime_error("Missing node: " + node.path() + "/" + name);
    return child;
}

std::string requireXmlChildText(const pugi::xml_node& node, const char* name) {
    return requireXmlChild(node, name).child_value();
}

pugi::xml_attribute requireXmlAttribute(const pugi::xml_node& node, const char* name) {
    const pugi::xml_attribute attribute = node.attribute(name);
    if (!attribute)
        throw std::runtime_error("Missing attribute: " + node.path() + "/@" + name);
    return attribute;
}

std::string requireXmlAttributeText(const pugi::xml_node& node, const char* name) {
    return requireXmlAttribute(node, name).value();
}

int requireXmlAttributeInt(const pugi::xml_node& node, const char* name) {
    return parseLenientInt(requireXmlAttribute(node, name).value());
}

} // namespace zor
