#pragma once
// One registry per kind of game data: the records in the order they were added, plus
// a name index that keeps the first position recorded for a name. Records are shared;
// nothing is ever removed. A registry has no lock: it is filled once (textures at
// start-up, everything else by the load-all job) and only read afterwards.
//
// Loading is declared here and defined in DefinitionLoader.h; each kind's .cpp includes
// that header and instantiates its registry explicitly (see DefinitionLoader.h).

#include <memory>
#include <string>
#include <vector>

#include <boost/unordered_map.hpp>

#include "Framework/core/Errors.h"

namespace zor {

template <class T>
class DefinitionRegistry {
public:
    using NameIndex = boost::unordered_map<std::string, int>;

    // rootName: the file's root element (for property-tree kinds, the path of the subtree
    // holding the definitions); elementName: the element of one definition; key: where a
    // definition's name is, relative to its element (XPath for XML-DOM kinds, a
    // property-tree path for property-tree kinds).
    DefinitionRegistry(std::string rootName, std::string elementName, std::string key)
        : m_rootName(std::move(rootName)), m_elementName(std::move(elementName)), m_key(std::move(key)) {}

    DefinitionRegistry(const DefinitionRegistry&) = delete;
    DefinitionRegistry& operator=(const DefinitionRegistry&) = delete;

    const std::string& rootName() const { return m_rootName; }
    const std::string& elementName() const { return m_elementName; }
    const std::string& key() const { return m_key; }

    // The record registered under `name`; the name must come from the data set or the game,
    // so a missing one means broken data and throws CheckReleaseError naming kind and name.
    T& get(const std::string& name) const { return *getShared(name); }
    // As get, for callers that keep the record or address it by position.
    const std::shared_ptr<T>& getShared(const std::string& name) const {
        return m_definitions[static_cast<std::size_t>(indexOf(name))];
    }
    int indexOf(const std::string& name) const {
        auto found = m_nameIndex.find(name);
        if (found == m_nameIndex.end())
            throw CheckReleaseError("Could not find " + m_elementName + " definition '" + name + "'");
        return found->second;
    }

    // Null when the name is not registered.
    std::shared_ptr<T> find(const std::string& name) const {
        if (m_nameIndex.empty())
            return nullptr;
        auto found = m_nameIndex.find(name);
        return found == m_nameIndex.end() ? nullptr : m_definitions[static_cast<std::size_t>(found->second)];
    }

    bool contains(const std::string& name) const { return !m_nameIndex.empty() && m_nameIndex.count(name) != 0; }

    const std::vector<std::shared_ptr<T>>& definitions() const { return m_definitions; }
    const NameIndex& nameIndex() const { return m_nameIndex; }

    // Appends the record; the name index keeps an earlier record of the same name.
    void add(const std::string& name, std::shared_ptr<T> record) {
        m_nameIndex.emplace(name, static_cast<int>(m_definitions.size()));
        m_definitions.push_back(std::move(record));
    }

    // Reads a definitions file of the game data folder into the registry. Each definition
    // starts as a copy of the earlier definition named by its "Template", if any. Throws
    // CheckReleaseError "Could not load <root> from file '<file>', reason: ..."; records
    // registered before a failing definition stay.
    void loadFile(const std::string& fileName);
    // As loadFile, with the file's content given; `fileName` only appears in error texts.
    void loadText(const std::string& fileName, const std::string& content);

private:
    template <class Source>
    void loadDefinitions(const std::string& fileName, const Source& source);
    template <class Element>
    void addDefinition(const std::string& fileName, const std::string& name, const std::string& templateName,
                       const Element& element);

    std::string m_rootName;
    std::string m_elementName;
    std::string m_key;
    NameIndex m_nameIndex;
    std::vector<std::shared_ptr<T>> m_definitions;
};

} // namespace zor
