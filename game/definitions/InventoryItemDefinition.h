#pragma once
// The part of a resource that the inventory, the shop and the selling rules use. Items
// are not read from a file of their own: each resource record embeds one, and
// registerResourceInventoryItems (ResourceDefinition.h) registers it under the
// resource's name.

#include <cstdint>
#include <memory>
#include <string>

#include <pugixml.hpp>

#include "game/definitions/DefinitionRegistry.h"

namespace zor {

struct InventoryItemDefinition {
    std::string name;
    std::string nameStringId; // localization id
    std::string icon;         // texture name in the tile texture set; may be empty
    std::int32_t value = 0;   // money for one item
    std::int32_t orbValue = 0;
    std::int32_t maxCountPerStack = 1;
    bool droppedOnDeath = false;

    // Reads the inventory keys of a "Resource" element; an absent "Name" gives the empty
    // name, every other absent key keeps its value.
    void read(const pugi::xml_node& element);
};

extern template class DefinitionRegistry<InventoryItemDefinition>;

// Root "InventoryDefinitions", element "InventoryItem", key "Name"; filled from the
// resources, never from a file.
DefinitionRegistry<InventoryItemDefinition>& inventoryItemRegistry();

// Throws CheckReleaseError for an unregistered name.
InventoryItemDefinition& findInventoryItemDefinition(const std::string& name);
// Null for an unregistered name (and while nothing is registered).
std::shared_ptr<InventoryItemDefinition> findInventoryItemDefinitionOrNull(const std::string& name);
bool hasInventoryItemDefinition(const std::string& name);

} // namespace zor
