#include "game/definitions/ResourceDefinition.h"

#include <cmath>
#include <sstream>
#include <stdexcept>

#include "game/definitions/DefinitionLoader.h"
#include "Framework/core/xml/XmlValues.h"

namespace zor {

template class DefinitionRegistry<ResourceDefinition>;

ResourceType parseResourceType(const std::string& name) {
    if (name == "ore")
        return ResourceType::Ore;
    if (name == "gem")
        return ResourceType::Gem;
    if (name == "egg")
        return ResourceType::Egg;
    return ResourceType::None;
}

namespace {

std::int32_t valueFromDepth(const ResourceDefinition& resource) {
    const float base = resource.valuePerDepth * resource.depthTier;
    const float power = static_cast<float>(std::pow(static_cast<double>(base), resource.valueExponent));
    const float value = power + resource.valueConstant;
    // Converting anything else to int is undefined; such data is a mistake, not a price.
    if (!(value >= -2147483648.0f && value < 2147483648.0f)) {
        std::ostringstream text;
        text << "Value from depth is not a whole number in range: (Linear " << resource.valuePerDepth
             << " x DepthTier " << resource.depthTier << ") ^ Exponent " << resource.valueExponent << " + Constant "
             << resource.valueConstant << " gives " << value;
        throw std::runtime_error(text.str());
    }
    return static_cast<std::int32_t>(value);
}

} // namespace

void ResourceDefinition::read(const pugi::xml_node& element) {
    GameObjectDefinition::read(element);
    item.read(element);
    if (const pugi::xml_node valueNode = element.child("Value")) {
        valueConstant = xmlAttributeFloat(valueNode, "Constant", valueConstant);
        valuePerDepth = xmlAttributeFloat(valueNode, "Linear", valuePerDepth);
        valueExponent = xmlAttributeFloat(valueNode, "Exponent", valueExponent);
    }
    if (const char* text = xmlChildText(element, "ResourceType"))
        resourceType = parseResourceType(text);
    const pugi::xml_node spawnResource = element.child("SpawnResource");
    if (const pugi::xml_attribute type = spawnResource.attribute("Type"))
        spawnedResourceType = parseResourceType(type.value());
    spawnedResourceDepthBias = xmlAttributeFloat(spawnResource, "DepthBias", spawnedResourceDepthBias);
    depthTier = xmlChildFloat(element, "DepthTier", depthTier);
    tileTexture = xmlChildString(element, "TileTexture", tileTexture);
    useVeinTileTexture = xmlChildBool(element, "UseVeinTileTexture", useVeinTileTexture);
    pickupSound = xmlChildString(element, "PickupSound", pickupSound);
    pickupEffect = xmlChildString(element, "PickupEffect", pickupEffect);
    pickupEffectRandomRotation =
        xmlAttributeBool(element.child("PickupEffect"), "RandomRotation", pickupEffectRandomRotation);
    pickupInterfaceEffect = xmlChildString(element, "PickupUIEffect", pickupInterfaceEffect);
    pickupColor = xmlChildCast(element, "PickupColor", pickupColor);
    pickupIcon = xmlChildString(element, "PickupIcon", pickupIcon);
    extraHitPoints = xmlChildInt(element, "ExtraHitPoints", extraHitPoints);
    spawnActor = xmlChildString(element, "SpawnActor", spawnActor);
    giveUpgrade = xmlChildString(element, "GiveUpgrade", giveUpgrade);
    spawnRefill = xmlChildBool(element, "SpawnRefill", spawnRefill);
    giveHitPoints = xmlChildFloat(element, "GiveHitPoints", giveHitPoints);
    giveWater = xmlChildFloat(element, "GiveWater", giveWater);
    giveLightFraction = xmlChildFloat(element, "GiveLightFraction", giveLightFraction);
    const pugi::xml_node attraction = element.child("PlayerAttraction");
    playerAttractionDistance = xmlAttributeFloat(attraction, "Distance", playerAttractionDistance);
    playerAttractionSpeed = xmlAttributeFloat(attraction, "Speed", playerAttractionSpeed);
    lifetime = xmlChildFloat(element, "LifeTime", lifetime);
    persistent = xmlChildBool(element, "Persistent", persistent);
    const pugi::xml_node orbs = element.child("SpawnOrbs");
    orbsSpawnedMinimum = xmlAttributeInt(orbs, "Min", orbsSpawnedMinimum);
    orbsSpawnedMaximum = xmlAttributeInt(orbs, "Max", orbsSpawnedMaximum);
    spawnProjectile = xmlChildString(element, "SpawnProjectile", spawnProjectile);

    if (item.value == 0 && valuePerDepth != 0.0f && depthTier >= 0.0f)
        item.value = valueFromDepth(*this);
    if (item.icon.empty())
        item.icon = tileTexture;
}

DefinitionRegistry<ResourceDefinition>& resourceRegistry() {
    static DefinitionRegistry<ResourceDefinition> registry("ResourceDefinitions", "Resource", "Name");
    return registry;
}

ResourceDefinition& findResourceDefinition(const std::string& name) { return resourceRegistry().get(name); }

std::shared_ptr<ResourceDefinition> getResourceDefinitionPtr(const std::string& name) {
    return resourceRegistry().getShared(name);
}

std::shared_ptr<ResourceDefinition> findResourceDefinitionPtr(const std::string& name) {
    return resourceRegistry().find(name);
}

void registerInventoryItems(const DefinitionRegistry<ResourceDefinition>& resources,
                            DefinitionRegistry<InventoryItemDefinition>& items) {
    for (const auto& [name, index] : resources.nameIndex()) {
        if (items.contains(name))
            continue;
        const std::shared_ptr<ResourceDefinition>& resource = resources.definitions()[static_cast<std::size_t>(index)];
        items.add(name, std::shared_ptr<InventoryItemDefinition>(resource, &resource->item));
    }
}

void registerResourceInventoryItems() { registerInventoryItems(resourceRegistry(), inventoryItemRegistry()); }

} // namespace zor
