#pragma once
// Loading of DefinitionRegistry<T>. Include this only in the .cpp that owns a kind, next
// to the explicit instantiation of its registry:
//
//     #include "game/definitions/DefinitionLoader.h"
//     template class zor::DefinitionRegistry<EffectDefinition>;
//
// and declare `extern template class DefinitionRegistry<EffectDefinition>;` in the kind's
// header. The record type picks the flavour through its reader:
//   void read(const pugi::xml_node& element)                 XML document (pugixml)
//   void read(const boost::property_tree::ptree& definition)  property tree (boost)
// A reader writes over the record it is given (defaults, or a copy of the template) and
// throws std::exception-derived errors for bad data; it never catches.

#include <exception>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>

#include <boost/property_tree/ptree.hpp>
#include <boost/property_tree/xml_parser.hpp>
#include <pugixml.hpp>

#include "Framework/core/Errors.h"
#include "Framework/core/io/Files.h"
#include "Framework/core/xml/XmlFile.h"
#include "game/definitions/DefinitionRegistry.h"

namespace zor {
namespace definition_detail {

template <class T, class = void>
struct ReadsXmlElement : std::false_type {};
template <class T>
struct ReadsXmlElement<T, std::void_t<decltype(std::declval<T&>().read(std::declval<const pugi::xml_node&>()))>>
    : std::true_type {};

template <class T, class = void>
struct ReadsPropertyTree : std::false_type {};
template <class T>
struct ReadsPropertyTree<
    T, std::void_t<decltype(std::declval<T&>().read(std::declval<const boost::property_tree::ptree&>()))>>
    : std::true_type {};

// Runs `load`; any std::exception becomes the per-file error text.
template <class Load>
void withFileErrors(const std::string& rootName, const std::string& fileName, Load&& load) {
    try {
        load();
    } catch (const std::exception& error) {
        throw CheckReleaseError("Could not load " + rootName + " from file '" + fileName + "', reason: " +
                                error.what());
    }
}

inline XmlFile xmlFromText(const std::string& fileName, const std::string& content) {
    ByteArray bytes(new std::uint8_t[content.size() + 1]);
    std::copy(content.begin(), content.end(), bytes.get());
    return XmlFile(fileName, std::move(bytes), content.size());
}

// The property-tree flavour tells a missing file by zero bytes read, like the XML flavour.
inline void requireDefinitionsContent(std::size_t size, const std::string& fileName) {
    if (size == 0)
        throw CheckReleaseError("Could not read definitions file " + fileName);
}

} // namespace definition_detail

template <class T>
void DefinitionRegistry<T>::loadFile(const std::string& fileName) {
    static_assert(definition_detail::ReadsXmlElement<T>::value != definition_detail::ReadsPropertyTree<T>::value,
                  "a definition record needs exactly one reader: read(pugi::xml_node) or read(ptree)");
    definition_detail::withFileErrors(m_rootName, fileName, [&] {
        if constexpr (definition_detail::ReadsXmlElement<T>::value) {
            XmlFile file(fileName);
            loadDefinitions(fileName, file.root());
        } else {
            boost::property_tree::ptree tree;
            definition_detail::requireDefinitionsContent(readXml(fileName, tree, FileLocation::GameData), fileName);
            loadDefinitions(fileName, tree);
        }
    });
}

template <class T>
void DefinitionRegistry<T>::loadText(const std::string& fileName, const std::string& content) {
    definition_detail::withFileErrors(m_rootName, fileName, [&] {
        if constexpr (definition_detail::ReadsXmlElement<T>::value) {
            XmlFile file = definition_detail::xmlFromText(fileName, content);
            loadDefinitions(fileName, file.root());
        } else {
            definition_detail::requireDefinitionsContent(content.size(), fileName);
            boost::property_tree::ptree tree;
            std::istringstream stream(content);
            boost::property_tree::read_xml(stream, tree, boost::property_tree::xml_parser::no_comments);
            loadDefinitions(fileName, tree);
        }
    });
}

template <class T>
template <class Source>
void DefinitionRegistry<T>::loadDefinitions(const std::string& fileName, const Source& source) {
    if constexpr (std::is_same_v<Source, pugi::xml_node>) {
        const pugi::xpath_query nameQuery(m_key.c_str());
        int position = 0;
        for (pugi::xml_node element = source.child(m_elementName.c_str()); element;
             element = element.next_sibling(m_elementName.c_str()), ++position) {
            const pugi::xpath_node found = nameQuery.evaluate_node(element);
            if (!found)
                throw std::runtime_error("Definition " + std::to_string(position) + " missing name");
            const std::string name = found.attribute() ? found.attribute().value() : found.node().child_value();
            addDefinition(fileName, name, element.child("Template").child_value(), element);
        }
    } else {
        for (const auto& [childKey, child] : source.get_child(m_rootName)) {
            if (childKey != m_elementName)
                continue;
            addDefinition(fileName, child.template get<std::string>(m_key),
                          child.template get<std::string>("Template", ""), child);
        }
    }
}

template <class T>
template <class Element>
void DefinitionRegistry<T>::addDefinition(const std::string& fileName, const std::string& name,
                                          const std::string& templateName, const Element& element) {
    auto record = std::make_shared<T>();
    // Only definitions registered so far can serve as template: a later or unknown one is
    // ignored and the record keeps its defaults.
    if (!templateName.empty())
        if (std::shared_ptr<T> base = find(templateName))
            *record = *base;
    try {
        record->read(element);
        add(name, std::move(record));
    } catch (const std::exception& error) {
        throw CheckReleaseError("Could not read " + m_elementName + " definition '" + name + "' in file '" +
                                fileName + "', reason: " + error.what());
    }
}

} // namespace zor
