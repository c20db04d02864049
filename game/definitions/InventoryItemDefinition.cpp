#include "game/definitions/InventoryItemDefinition.h"

#include "game/definitions/DefinitionLoader.h"
#include "Framework/core/xml/XmlValues.h"

namespace zor {

template class DefinitionRegistry<InventoryItemDefinition>;

void InventoryItemDefinition::read(const pugi::xml_node& element) {
    name = xmlChildString(element, "Name", "");
    nameStringId = xmlChildString(element, "NameStringId", nameStringId);
    icon = xmlChildString(element, "Icon", icon);
    value = xmlChildInt(element, "Value", value);
    orbValue = xmlChildInt(element, "ValueOrb", orbValue);
    maxCountPerStack = xmlChildInt(element, "MaxCountPerStack", maxCountPerStack);
    droppedOnDeath = xmlChildBool(element, "DropOnDeath", droppedOnDeath);
}

DefinitionRegistry<InventoryItemDefinition>& inventoryItemRegistry() {
    static DefinitionRegistry<InventoryItemDefinition> registry("InventoryDefinitions", "InventoryItem", "Name");
    return registry;
}

InventoryItemDefinition& findInventoryItemDefinition(const std::string& name) {
    return inventoryItemRegistry().get(name);
}

std::shared_ptr<InventoryItemDefinition> findInventoryItemDefinitionOrNull(const std::string& name) {
    return inventoryItemRegistry().find(name);
}

bool hasInventoryItemDefinition(const std::string& name) { return inventoryItemRegistry().contains(name); }

} // namespace zor
