#include "game/definitions/MaxCountDefinition.h"

#include "game/definitions/DefinitionLoader.h"

namespace zor {

template class DefinitionRegistry<MaxCountDefinition>;

void MaxCountDefinition::read(const boost::property_tree::ptree& definition) {
    maximumCount = definition.get<std::int32_t>("<xmlattr>.MaxCount", maximumCount);
    keepQueue = definition.get<bool>("<xmlattr>.KeepQueue", keepQueue);
}

DefinitionRegistry<MaxCountDefinition>& maxCountRegistry() {
    static DefinitionRegistry<MaxCountDefinition> registry("MaxCounts", "Group", "<xmlattr>.Name");
    return registry;
}

MaxCountDefinition& findMaxCountDefinition(const std::string& name) { return maxCountRegistry().get(name); }

std::shared_ptr<MaxCountDefinition> findMaxCountDefinitionOrNull(const std::string& name) {
    return maxCountRegistry().find(name);
}

} // namespace zor
