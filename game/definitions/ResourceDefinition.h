#pragma once
// A pickup or buried resource: ores, gems, eggs and orbs, and items that refill, upgrade
// or spawn something when collected. Each embeds the inventory item the player carries.

#include <cstdint>
#include <memory>
#include <string>

#include <pugixml.hpp>

#include "Framework/core/math/Color.h"
#include "game/definitions/DefinitionRegistry.h"
#include "game/definitions/GameObjectDefinition.h"
#include "game/definitions/InventoryItemDefinition.h"

namespace zor {

enum class ResourceType : std::int32_t { None = 0, Ore = 1, Gem = 2, Egg = 3 };

// "ore", "gem", "egg"; any other text (compared exactly) gives None.
ResourceType parseResourceType(const std::string& name);

struct ResourceDefinition : GameObjectDefinition {
    InventoryItemDefinition item;
    // The value curve: an item without a value of its own and with a depth tier is worth
    // trunc(float(pow(float(valuePerDepth * depthTier), valueExponent)) + valueConstant).
    float valueConstant = 0.0f;
    float valuePerDepth = 0.0f;
    float valueExponent = 0.0f;
    float depthTier = -1.0f; // below 0: no value from depth
    ResourceType resourceType = ResourceType::None;
    std::string tileTexture;
    bool useVeinTileTexture = false;
    std::string pickupSound;
    std::string pickupEffect;
    bool pickupEffectRandomRotation = false;
    std::string pickupInterfaceEffect;
    Color3 pickupColor{1.0f, 1.0f, 1.0f};
    std::string pickupIcon;
    std::int32_t extraHitPoints = 0;
    float lifetime = 0.0f; // seconds
    bool persistent = false;
    std::int32_t orbsSpawnedMinimum = 0;
    std::int32_t orbsSpawnedMaximum = 0;
    std::string spawnProjectile;
    ResourceType spawnedResourceType = ResourceType::None;
    float spawnedResourceDepthBias = 0.0f;
    std::string spawnActor;
    std::string giveUpgrade;
    bool spawnRefill = false;
    float giveHitPoints = 0.0f;
    float giveWater = 0.0f;
    float giveLightFraction = 0.0f;
    float playerAttractionDistance = 0.0f; // pixels
    float playerAttractionSpeed = 0.0f;

    // Throws when the value from depth is not a number an int can hold (a negative base
    // with a fractional exponent, or a result beyond the 32-bit range).
    void read(const pugi::xml_node& element);
};

extern template class DefinitionRegistry<ResourceDefinition>;

// Root "ResourceDefinitions", element "Resource", key "Name"; file "Definitions/resources.xml".
// The file order gives every resource its 1-based index in the patch library's grids.
DefinitionRegistry<ResourceDefinition>& resourceRegistry();

// The must-exist lookups throw CheckReleaseError for an unregistered name.
ResourceDefinition& findResourceDefinition(const std::string& name);
std::shared_ptr<ResourceDefinition> getResourceDefinitionPtr(const std::string& name);
// Null when the name is not registered.
std::shared_ptr<ResourceDefinition> findResourceDefinitionPtr(const std::string& name);

// Registers the embedded item of every resource name (in the name index's own order) that
// `items` does not hold yet; each item shares ownership with its resource record.
void registerInventoryItems(const DefinitionRegistry<ResourceDefinition>& resources,
                            DefinitionRegistry<InventoryItemDefinition>& items);
// The same over the two global registries; run by the load-all job after the resources.
void registerResourceInventoryItems();

} // namespace zor
