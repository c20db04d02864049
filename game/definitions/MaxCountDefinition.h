#pragma once
// A group of objects whose number alive at once is limited; game objects name it in
// "MaxCountGroup". Read from the property tree of its "Group" element.

#include <cstdint>
#include <memory>
#include <string>

#include <boost/property_tree/ptree_fwd.hpp>

#include "game/definitions/DefinitionRegistry.h"

namespace zor {

struct MaxCountDefinition {
    std::int32_t maximumCount = 0;
    bool keepQueue = true;

    // The attributes "MaxCount" and "KeepQueue"; absent or unreadable keeps the value.
    void read(const boost::property_tree::ptree& definition);
};

extern template class DefinitionRegistry<MaxCountDefinition>;

// Root "MaxCounts", element "Group", key "<xmlattr>.Name"; file "Definitions/maxcounts.xml".
DefinitionRegistry<MaxCountDefinition>& maxCountRegistry();

// Throws CheckReleaseError for an unregistered name.
MaxCountDefinition& findMaxCountDefinition(const std::string& name);
// Null when the name is not registered.
std::shared_ptr<MaxCountDefinition> findMaxCountDefinitionOrNull(const std::string& name);

} // namespace zor
