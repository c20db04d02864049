#pragma once
// Reading values out of definition elements and level descriptions. The optional readers
// return `fallback` when the key is absent, so a reader writes `field = xmlChildFloat(e,
// "Key", field)` and an absent key keeps the default or the template's value.
//
// Conversions: integers and floats are lenient (leading number used, no number gives 0);
// booleans are true when the text starts with 1, t, T, y or Y; vectors, rectangles and
// colours (xml...Cast) are strict and throw boost::bad_lexical_cast for any text that is
// not exactly their text form.

#include <string>

#include <boost/lexical_cast.hpp>
#include <pugixml.hpp>

namespace zor {

int parseLenientInt(const char* text);
float parseLenientFloat(const char* text);
bool parseFlag(const char* text);

// The text of the first child element `name` (its first text or character-data node);
// null when there is no such child or it holds no text.
const char* xmlChildText(const pugi::xml_node& node, const char* name);

int xmlChildInt(const pugi::xml_node& node, const char* name, int fallback);
float xmlChildFloat(const pugi::xml_node& node, const char* name, float fallback);
bool xmlChildBool(const pugi::xml_node& node, const char* name, bool fallback);
std::string xmlChildString(const pugi::xml_node& node, const char* name, const std::string& fallback);

int xmlAttributeInt(const pugi::xml_node& node, const char* name, int fallback);
float xmlAttributeFloat(const pugi::xml_node& node, const char* name, float fallback);
bool xmlAttributeBool(const pugi::xml_node& node, const char* name, bool fallback);
std::string xmlAttributeString(const pugi::xml_node& node, const char* name, const std::string& fallback);

template <class T>
T xmlChildCast(const pugi::xml_node& node, const char* name, const T& fallback) {
    const char* text = xmlChildText(node, name);
    return text ? boost::lexical_cast<T>(std::string(text)) : fallback;
}

template <class T>
T xmlAttributeCast(const pugi::xml_node& node, const char* name, const T& fallback) {
    const pugi::xml_attribute attribute = node.attribute(name);
    return attribute ? boost::lexical_cast<T>(std::string(attribute.value())) : fallback;
}

// The required readers throw std::runtime_error "Missing node: <path>/<name>" or
// "Missing attribute: <path>/@<name>", where <path> lists the element's ancestors from the
// document element down, each after a "/".
pugi::xml_node requireXmlChild(const pugi::xml_node& node, const char* name);
std::string requireXmlChildText(const pugi::xml_node& node, const char* name);
pugi::xml_attribute requireXmlAttribute(const pugi::xml_node& node, const char* name);
std::string requireXmlAttributeText(const pugi::xml_node& node, const char* name);
int requireXmlAttributeInt(const pugi::xml_node& node, const char* name);

} // namespace zor
