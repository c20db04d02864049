#include "game/definitions/ResourceDefinition.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/game/definitions/DefinitionTexts.h"

namespace zor {
namespace {

const char* const kFile = "Definitions/resources.xml";

std::unique_ptr<DefinitionRegistry<ResourceDefinition>> resources(const std::string& definitions) {
    return test::loadDefinitions(resourceRegistry(), kFile, definitions);
}

TEST(ResourceDefinition, DefaultsOfEveryKey) {
    const auto registry = resources("<Resource><Name>bare</Name></Resource>");
    const ResourceDefinition& r = registry->get("bare");
    EXPECT_EQ(r.item.name, "bare");
    EXPECT_EQ(r.item.nameStringId, "");
    EXPECT_EQ(r.item.icon, "");
    EXPECT_EQ(r.item.value, 0);
    EXPECT_EQ(r.item.orbValue, 0);
    EXPECT_EQ(r.item.maxCountPerStack, 1);
    EXPECT_FALSE(r.item.droppedOnDeath);
    EXPECT_EQ(r.valueConstant, 0.0f);
    EXPECT_EQ(r.valuePerDepth, 0.0f);
    EXPECT_EQ(r.valueExponent, 0.0f);
    EXPECT_EQ(r.depthTier, -1.0f);
    EXPECT_EQ(r.resourceType, ResourceType::None);
    EXPECT_EQ(r.spawnedResourceType, ResourceType::None);
    EXPECT_FALSE(r.useVeinTileTexture || r.pickupEffectRandomRotation || r.persistent || r.spawnRefill);
    EXPECT_EQ(r.pickupColor, Color3(1, 1, 1));
    EXPECT_EQ(r.extraHitPoints, 0);
    EXPECT_EQ(r.orbsSpawnedMinimum, 0);
    EXPECT_EQ(r.orbsSpawnedMaximum, 0);
    for (const float zero : {r.lifetime, r.spawnedResourceDepthBias, r.giveHitPoints, r.giveWater,
                             r.giveLightFraction, r.playerAttractionDistance, r.playerAttractionSpeed})
        EXPECT_EQ(zero, 0.0f);
    for (const std::string* empty : {&r.tileTexture, &r.pickupSound, &r.pickupEffect, &r.pickupInterfaceEffect,
                                     &r.pickupIcon, &r.spawnProjectile, &r.spawnActor, &r.giveUpgrade})
        EXPECT_EQ(*empty, "");
}

TEST(ResourceDefinition, ReadsEveryKey) {
    const auto registry = resources(R"(<Resource><Name>gem</Name><NameStringId>res_gem</NameStringId>
        <Icon>icon_gem</Icon><Value Constant="1" Linear="2" Exponent="3">40</Value><ValueOrb>2</ValueOrb>
        <MaxCountPerStack>5</MaxCountPerStack><DropOnDeath>1</DropOnDeath><DepthTier>4</DepthTier>
        <ResourceType>gem</ResourceType><TileTexture>tile.png</TileTexture><UseVeinTileTexture>1</UseVeinTileTexture>
        <PickupSound>chime</PickupSound><PickupEffect RandomRotation="1">sparkle</PickupEffect>
        <PickupUIEffect>ui_sparkle</PickupUIEffect><PickupColor>0.5;0.25;1</PickupColor><PickupIcon>pick</PickupIcon>
        <ExtraHitPoints>2</ExtraHitPoints><LifeTime>30</LifeTime><Persistent>1</Persistent>
        <SpawnOrbs Min="3" Max="6"/><SpawnProjectile>boom</SpawnProjectile>
        <SpawnResource Type="egg" DepthBias="0.5"/><SpawnActor>crawler</SpawnActor><GiveUpgrade>drill_1</GiveUpgrade>
        <SpawnRefill>1</SpawnRefill><GiveHitPoints>1</GiveHitPoints><GiveWater>2</GiveWater>
        <GiveLightFraction>0.5</GiveLightFraction><PlayerAttraction Distance="120" Speed="320"/></Resource>)");
    const ResourceDefinition& r = registry->get("gem");
    EXPECT_EQ(r.item.nameStringId, "res_gem");
    EXPECT_EQ(r.item.icon, "icon_gem");
    EXPECT_EQ(r.item.value, 40);
    EXPECT_EQ(r.item.orbValue, 2);
    EXPECT_EQ(r.item.maxCountPerStack, 5);
    EXPECT_TRUE(r.item.droppedOnDeath);
    EXPECT_EQ(r.valueConstant, 1.0f);
    EXPECT_EQ(r.valuePerDepth, 2.0f);
    EXPECT_EQ(r.valueExponent, 3.0f);
    EXPECT_EQ(r.depthTier, 4.0f);
    EXPECT_EQ(r.resourceType, ResourceType::Gem);
    EXPECT_EQ(r.tileTexture, "tile.png");
    EXPECT_TRUE(r.useVeinTileTexture);
    EXPECT_EQ(r.pickupSound, "chime");
    EXPECT_EQ(r.pickupEffect, "sparkle");
    EXPECT_TRUE(r.pickupEffectRandomRotation);
    EXPECT_EQ(r.pickupInterfaceEffect, "ui_sparkle");
    EXPECT_EQ(r.pickupColor, Color3(0.5f, 0.25f, 1.0f));
    EXPECT_EQ(r.pickupIcon, "pick");
    EXPECT_EQ(r.extraHitPoints, 2);
    EXPECT_EQ(r.lifetime, 30.0f);
    EXPECT_TRUE(r.persistent);
    EXPECT_EQ(r.orbsSpawnedMinimum, 3);
    EXPECT_EQ(r.orbsSpawnedMaximum, 6);
    EXPECT_EQ(r.spawnProjectile, "boom");
    EXPECT_EQ(r.spawnedResourceType, ResourceType::Egg);
    EXPECT_EQ(r.spawnedResourceDepthBias, 0.5f);
    EXPECT_EQ(r.spawnActor, "crawler");
    EXPECT_EQ(r.giveUpgrade, "drill_1");
    EXPECT_TRUE(r.spawnRefill);
    EXPECT_EQ(r.giveHitPoints, 1.0f);
    EXPECT_EQ(r.giveWater, 2.0f);
    EXPECT_EQ(r.giveLightFraction, 0.5f);
    EXPECT_EQ(r.playerAttractionDistance, 120.0f);
    EXPECT_EQ(r.playerAttractionSpeed, 320.0f);
}

TEST(ResourceDefinition, ValueFromDepth) {
    const struct {
        const char* keys;
        int value;
    } cases[] = {
        {R"(<Value Linear="2" Exponent="2" Constant="10"/><DepthTier>3</DepthTier>)", 46},
        {R"(<Value Linear="2" Exponent="2" Constant="10">5</Value><DepthTier>3</DepthTier>)", 5},
        // No depth tier (-1), or no slope: no value from depth.
        {R"(<Value Linear="2" Exponent="2" Constant="10"/>)", 0},
        {R"(<Value Exponent="2" Constant="10"/><DepthTier>3</DepthTier>)", 0},
        // Depth tier 0 computes: 0 ^ 2 + 10.
        {R"(<Value Linear="2" Exponent="2" Constant="10"/><DepthTier>0</DepthTier>)", 10},
        // Truncated toward zero after the float sums: 12 ^ 1.5 = 41.569.. + 10.
        {R"(<Value Linear="4" Exponent="1.5" Constant="10"/><DepthTier>3</DepthTier>)", 51},
        {R"(<Value Linear="-1" Exponent="1" Constant="0.5"/><DepthTier>2</DepthTier>)", -1},
    };
    for (const auto& c : cases) {
        const auto registry = resources(std::string("<Resource><Name>r</Name>") + c.keys + "</Resource>");
        EXPECT_EQ(registry->get("r").item.value, c.value) << c.keys;
    }
}

// A curve without a real result (negative base, fractional exponent) or beyond what an
// int holds has no price; the data is refused instead of converting NaN or infinity.
TEST(ResourceDefinition, ValueFromDepthWithoutAnIntegerResultFailsTheResource) {
    for (const char* keys : {R"(<Value Linear="-2" Exponent="0.5"/><DepthTier>3</DepthTier>)",
                             R"(<Value Linear="10" Exponent="40"/><DepthTier>3</DepthTier>)",
                             R"(<Value Linear="1e30" Exponent="2"/><DepthTier>1e30</DepthTier>)",
                             R"(<Value Linear="2" Exponent="1" Constant="3e9"/><DepthTier>1</DepthTier>)"}) {
        const std::string failure =
            test::loadFailure(resourceRegistry(), kFile, std::string("<Resource><Name>odd_ore</Name>") + keys + "</Resource>");
        EXPECT_EQ(failure.rfind(test::definitionFailure("ResourceDefinitions", "Resource", "odd_ore", kFile,
                                                        "Value from depth is not a whole number in range"),
                                0),
                  0u)
            << keys << "\n" << failure;
    }
}

TEST(ResourceDefinition, TemplateValueIconAndTypes) {
    const auto registry = resources(R"(
        <Resource><Name>base</Name><Value>8</Value><TileTexture>vein.png</TileTexture></Resource>
        <Resource><Name>curve</Name><Template>base</Template><Value Linear="2" Exponent="2"/><DepthTier>3</DepthTier></Resource>
        <Resource><Name>reset</Name><Template>base</Template><Value Linear="2" Exponent="2">0</Value><DepthTier>3</DepthTier></Resource>
        <Resource><Name>own_icon</Name><Template>base</Template><Icon>icon.png</Icon></Resource>
        <Resource><Name>lower</Name><ResourceType>Gem</ResourceType><SpawnResource Type="ore"/></Resource>
        <Resource><Name>kept</Name><Template>lower</Template><SpawnResource DepthBias="1"/></Resource>)");
    EXPECT_EQ(registry->get("base").item.icon, "vein.png");
    EXPECT_EQ(registry->get("curve").item.value, 8);
    EXPECT_EQ(registry->get("reset").item.value, 36);
    EXPECT_EQ(registry->get("own_icon").item.icon, "icon.png");
    EXPECT_EQ(registry->get("curve").item.name, "curve");
    EXPECT_EQ(registry->get("lower").resourceType, ResourceType::None);
    EXPECT_EQ(registry->get("kept").spawnedResourceType, ResourceType::Ore);

    for (const auto& [name, type] : std::vector<std::pair<std::string, ResourceType>>{
             {"ore", ResourceType::Ore}, {"gem", ResourceType::Gem}, {"egg", ResourceType::Egg},
             {"Gem", ResourceType::None}, {"", ResourceType::None}, {" ore", ResourceType::None}})
        EXPECT_EQ(parseResourceType(name), type) << '"' << name << '"';
}

TEST(ResourceDefinition, InventoryItemsShareTheirResourcesLifetime) {
    auto registry = resources(R"(
        <Resource><Name>copper</Name><Value>4</Value></Resource>
        <Resource><Name>tin</Name><Value>7</Value></Resource>
        <Resource><Name>copper</Name><Value>99</Value></Resource>)");
    auto items = std::make_unique<DefinitionRegistry<InventoryItemDefinition>>("InventoryDefinitions",
                                                                              "InventoryItem", "Name");
    const auto early = std::make_shared<InventoryItemDefinition>();
    items->add("tin", early);

    registerInventoryItems(*registry, *items);
    // One entry per name in the resources' name index; a name already there stays.
    ASSERT_EQ(items->definitions().size(), 2u);
    EXPECT_EQ(items->find("tin"), early);
    ASSERT_NE(items->find("copper"), nullptr);
    EXPECT_EQ(items->find("copper").get(), &registry->get("copper").item);
    EXPECT_EQ(items->get("copper").value, 4);

    // The item keeps the whole resource record alive, and the record dies with the item.
    const std::weak_ptr<ResourceDefinition> record = registry->find("copper");
    registry.reset();
    ASSERT_FALSE(record.expired());
    EXPECT_EQ(record.lock()->item.value, 4);
    items.reset();
    EXPECT_TRUE(record.expired());
}

TEST(ResourceDefinition, GlobalLookups) {
    EXPECT_EQ(findResourceDefinitionPtr("no_such_resource"), nullptr);
    EXPECT_THROW(findResourceDefinition("no_such_resource"), CheckReleaseError);
    EXPECT_THROW(getResourceDefinitionPtr("no_such_resource"), CheckReleaseError);
    EXPECT_THROW(findInventoryItemDefinition("no_such_resource"), CheckReleaseError);
    EXPECT_EQ(findInventoryItemDefinitionOrNull("no_such_resource"), nullptr);
    EXPECT_FALSE(hasInventoryItemDefinition("no_such_resource"));

    const auto probe = std::make_shared<InventoryItemDefinition>();
    inventoryItemRegistry().add("lookup_probe_item", probe);
    EXPECT_EQ(findInventoryItemDefinitionOrNull("lookup_probe_item"), probe);
    EXPECT_TRUE(hasInventoryItemDefinition("lookup_probe_item"));
    EXPECT_EQ(findInventoryItemDefinitionOrNull("Lookup_probe_item"), nullptr) << "names are exact";
}

} // namespace
} // namespace zor
