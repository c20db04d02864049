#pragma once
// A harness game in the bare fixture room whose tile table is replaced by one of every kind
// of tile, with the materials, effects and resources the digging tests look for. The room
// keeps its bedrock frame (indestructible) and its dirt floor at row 8; rows 1 to 6 are
// air to place test tiles in. The level's hardness curve is flat (multiplier 0), so a
// tile's hardness is its base unless a test sets a curve.

#include "game/simulation/GameObjectSimulator.h"
#include "game/world/World.h"
#include "game/world/entity/TileDamage.h"
#include "game/world/level/PatchLibraryTables.h"

#include "game/definitions/DamageData.h"
#include "game/definitions/EffectDefinition.h"
#include "game/definitions/MaterialDefinition.h"
#include "game/definitions/ResourceDefinition.h"

#include "tests/support/game/FixtureDefinitions.h"
#include "tests/support/game/GameHarness.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace zor::test {

// Tile type indices of the replaced table.
enum Tile : std::uint16_t {
    Empty = 0,
    Dirt = 1,      // solid, tier 1, hardness 4
    Bedrock = 3,   // solid, required tier 0: never dug
    Quartz = 4,    // tier 3, hardness 6 + 2 per level, material with weapon reactions
    Glass = 5,     // fragile and breaking under pressure, hardness 9
    Rubble = 6,    // breaks under pressure, hardness 4
    Ledge = 7,     // one-sided, dug only by hits travelling right
    Geode = 8,     // regrows, hardness 1, material with break effect and sound
    Slick = 9,     // no wall slide, hardness 4
    Ghost = 10,    // a material no definition has
    Vapour = 11,   // not a solid type
};

inline void loadDiggingDefinitions() {
    static const bool loaded = [] {
        loadFixtureDefinitions();
        addDefinitions(effectRegistry(), "digging effects", R"(
          <Effect><Name>crumble</Name></Effect>
          <Effect><Name>crack_small</Name></Effect>
          <Effect><Name>spark</Name></Effect>
          <Effect><Name>dull_spark</Name></Effect>
          <Effect><Name>bruise</Name></Effect>)");
        addDefinitions(materialRegistry(), "digging materials", R"(
          <Material>
            <Name>quartz_seam</Name>
            <DestroyedEffect>crumble</DestroyedEffect>
            <DestroyedSound>quartz_break</DestroyedSound>
            <CrackEffect>crack_small</CrackEffect>
            <RegenTimeSeconds>5</RegenTimeSeconds>
            <WeaponMaterials>
              <Entry Weapon="pick">
                <Effect>spark</Effect><NoDamageEffect>dull_spark</NoDamageEffect>
                <DamageSound>pick_dig</DamageSound><NoDamageSound>pick_clink</NoDamageSound>
                <MineralSound>pick_ore</MineralSound>
              </Entry>
              <Entry Weapon="hammer"><Effect>no_such_effect</Effect></Entry>
            </WeaponMaterials>
          </Material>
          <Material><Name>glass</Name></Material>)");
        addDefinitions(resourceRegistry(), "digging resources", R"(
          <Resource><Name>dense_ore</Name><Template>ore</Template><ExtraHitPoints>4</ExtraHitPoints></Resource>)");
        registerResourceInventoryItems();
        return true;
    }();
    (void)loaded;
}

inline TileType tileType(const char* material, std::uint8_t flags, std::int32_t tier, std::int32_t base,
                         std::int32_t step = 0, std::int32_t openSide = 0) {
    TileType type;
    type.material = material;
    type.flags = flags;
    type.requiredTier = tier;
    type.hardnessBase = base;
    type.hardnessStep = step;
    type.openSide = openSide;
    return type;
}

inline DamageData hit(float amount, std::int32_t tier = 1, DamageType type = DamageType::Normal) {
    DamageData damage;
    damage.amount = amount;
    damage.tier = tier;
    damage.type = type;
    return damage;
}

class DiggingTest : public ::testing::Test {
protected:
    void SetUp() override {
        loadDiggingDefinitions();
        harness = std::make_unique<GameHarness>(HarnessOptions(1, "fixture_deep"));
        auto tables = std::make_shared<PatchLibraryTables>();
        tables->tileTypes = {
            tileType("", 0, 0, 0),
            tileType("loam", 0x01, 1, 4),
            tileType("", 0, 0, 0),
            tileType("loam", 0x01, 0, 4),
            tileType("quartz_seam", 0x01, 3, 6, 2),
            tileType("glass", 0x19, 1, 9),
            tileType("loam", 0x11, 1, 4),
            tileType("loam", 0x21, 1, 4, 0, 2),
            tileType("quartz_seam", 0x41, 1, 1),
            tileType("loam", 0x81, 1, 4),
            tileType("no_such_material", 0x01, 1, 1),
            tileType("loam", 0x00, 1, 1),
        };
        level().library = tables;
        level().hardnessMultiplier = 0;
    }

    World& world() { return harness->world(); }
    GameObjectSimulator& objects() { return harness->objects(); }
    Level& level() { return *world().level; }

    void place(const iVector2& cell, std::uint16_t type) {
        level().mainLayer().at(cell.x, cell.y) = type;
        *level().tileMap->cell(cell.x, cell.y) |= TileBits::Solid;
    }
    bool solid(const iVector2& cell) { return (*level().tileMap->cell(cell.x, cell.y) & TileBits::Solid) != 0; }
    std::uint16_t word(const iVector2& cell) { return level().mainLayer().at(cell.x, cell.y); }
    // The cell's accumulated damage; -1 without a live TileDamage.
    float progress(const iVector2& cell) {
        const CellRecord* record = objects().findCellRecord(cell);
        const Entity* found = record ? world().findEntity(record->tileDamageId) : nullptr;
        return found ? static_cast<const TileDamage*>(found)->progress : -1.0f;
    }
    static std::int32_t resourceIndex(const std::string& name) {
        return resourceRegistry().nameIndex().at(name) + 1;
    }

    std::unique_ptr<GameHarness> harness;
};

} // namespace zor::test
