// Owned upgrades on a copy of the registered player definition: each row of the upgrade
// table alone and all together, applying twice, refilling raised maxima, the requested
// weapon, definitions without the upgraded weapons, and the pouch's slots.

#include "game/simulation/rules/PlayerUpgrades.h"

#include "game/definitions/ActorDefinition.h"
#include "game/world/World.h"

#include "Framework/core/math/Randomizer.h"
#include "tests/support/common/LogCapture.h"
#include "tests/support/game/FixtureDefinitions.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace zor {
namespace {

// Every field the upgrades touch holds a value that shows whether it was replaced, raised
// or left alone; the pickaxe's damage type is neither weak nor normal.
const char* const Miner = R"(
  <Actor>
    <Name>upgrade_miner</Name>
    <CollisionBox>-10;-34;20;34</CollisionBox>
    <HitPoints>10</HitPoints>
    <Water>5</Water>
    <LightTime>120</LightTime>
    <EnableRun>true</EnableRun>
    <EnableHighJump>true</EnableHighJump>
    <EnableDoubleJump>true</EnableDoubleJump>
    <LightRefillMultiplier>1.2</LightRefillMultiplier>
    <DamageReduction>0.1</DamageReduction>
    <WaterReduction>0.1</WaterReduction>
    <DrainWaterMultiplier>3</DrainWaterMultiplier>
    <Weapons>
      <Weapon><Name>fists</Name><AttackDamage Amount="1" TileReduction="1"/></Weapon>
      <Weapon><Name>pickaxe</Name>
        <AttackDamage Amount="1" Tier="2" TileReduction="1" EnemyReduction="0.5" Type="crush"/>
        <AttackCooldown>0.5</AttackCooldown></Weapon>
      <Weapon><Name>drill</Name><AttackDamage Amount="1" TileReduction="3"/><WaterDrain>1.5</WaterDrain></Weapon>
      <Weapon><Name>punch</Name><AttackDamage Amount="2" TileReduction="1" EnemyReduction="1"/>
        <AttackChargeTime>0.8</AttackChargeTime><AttackPitchTime>0.4</AttackPitchTime></Weapon>
    </Weapons>
  </Actor>
)";

using Items = std::vector<std::pair<std::string, std::int32_t>>;
using Fields = std::map<std::string, float>;

ItemCountMap itemsOf(const Items& items) {
    ItemCountMap map;
    for (const auto& [name, count] : items) map.counts[name] = count;
    return map;
}

Fields fieldsOf(const ActorDefinition& d) {
    const auto& pickaxe = d.weapons.at(1);
    const auto& drill = d.weapons.at(2);
    const auto& punch = d.weapons.at(3);
    return {
        {"HitPoints", d.hitPoints},
        {"Water", d.waterCapacity},
        {"LightTime", d.lightTime},
        {"FallDamageIgnore", float(d.fallDamageIgnored)},
        {"EnableChargeJump", float(d.enableChargeJump)},
        {"EnableRun", float(d.enableRun)},
        {"EnableDoubleJump", float(d.enableDoubleJump)},
        {"EnableHighJump", float(d.enableHighJump)},
        {"LightRefillMultiplier", d.lightRefillMultiplier},
        {"AutoRefillLight", float(d.autoRefillLight)},
        {"DamageReduction", d.damageReduction},
        {"WaterReduction", d.waterReduction},
        {"DrainWaterMultiplier", d.drainWaterMultiplier},
        {"chargeJumpFactor", d.chargeJumpFactor},
        {"fists TileReduction", float(d.weapons.at(0).attackDamage.tileReduction)},
        {"pickaxe TileReduction", float(pickaxe.attackDamage.tileReduction)},
        {"pickaxe EnemyReduction", pickaxe.attackDamage.enemyReduction},
        {"pickaxe Tier", float(pickaxe.attackDamage.tier)},
        {"pickaxe Type", float(pickaxe.attackDamage.type)},
        {"pickaxe AttackCooldown", pickaxe.cooldown},
        {"drill TileReduction", float(drill.attackDamage.tileReduction)},
        {"drill WaterDrain", drill.waterDrain},
        {"punch TileReduction", float(punch.attackDamage.tileReduction)},
        {"punch EnemyReduction", punch.attackDamage.enemyReduction},
        {"punch AttackChargeTime", punch.chargeTime},
        {"punch AttackPitchTime", punch.pitchTime},
    };
}

Fields with(Fields fields, const Fields& changes) {
    for (const auto& [name, value] : changes) fields.at(name) = value;
    return fields;
}

void expectFields(const Fields& actual, const Fields& expected, const std::string& where) {
    for (const auto& [name, value] : expected) EXPECT_FLOAT_EQ(actual.at(name), value) << where << ": " << name;
}

class PlayerUpgradesTest : public ::testing::Test {
protected:
    PlayerUpgradesTest() {
        test::loadFixtureDefinitions();
        static const bool loaded = (test::addDefinitions(actorRegistry(), "upgrade actors", Miner), true);
        (void)loaded;
    }

    ActorObject& spawnMiner() {
        ActorObject* miner = world.spawnActorFacingRight("upgrade_miner", {100.0f, 100.0f});
        EXPECT_NE(miner, nullptr);
        return *miner;
    }

    Fields upgraded(const Items& items) {
        ActorObject& miner = spawnMiner();
        applyPlayerUpgrades(itemsOf(items), miner, false);
        return fieldsOf(miner.definition());
    }

    Randomizer random = Randomizer::fromSeed(5);
    World world{random};
};

// With nothing owned the run, double jump and the multipliers follow the upgrades rather
// than the data, the pick is weak and the lamp refills itself; the rest is the data's.
const Fields NothingOwned = {
    {"HitPoints", 10},     {"Water", 5},
    {"LightTime", 120},    {"FallDamageIgnore", 0},
    {"EnableChargeJump", 0}, {"EnableRun", 0},
    {"EnableDoubleJump", 0}, {"EnableHighJump", 1},
    {"LightRefillMultiplier", 1}, {"AutoRefillLight", 1},
    {"DamageReduction", 0}, {"WaterReduction", 0},
    {"DrainWaterMultiplier", 1}, {"chargeJumpFactor", 1},
    {"fists TileReduction", 1}, {"pickaxe TileReduction", 1},
    {"pickaxe EnemyReduction", 0.5f}, {"pickaxe Tier", 2},
    {"pickaxe Type", float(DamageType::Weak)}, {"pickaxe AttackCooldown", 0.5f},
    {"drill TileReduction", 3}, {"drill WaterDrain", 1.5f},
    {"punch TileReduction", 1}, {"punch EnemyReduction", 1},
    {"punch AttackChargeTime", 0.8f}, {"punch AttackPitchTime", 0.4f},
};

TEST_F(PlayerUpgradesTest, EachRowAloneChangesOnlyItsFields) {
    struct Case {
        Items items;
        Fields changes;
    };
    const Case cases[] = {
        {{}, {}},
        {{{"fall_dampeners", 1}}, {{"FallDamageIgnore", 1}}},
        {{{"armor_1", 1}, {"armor_2", 1}}, {{"HitPoints", 12}}},
        {{{"armor_3", 2}}, {{"HitPoints", 12}}},
        {{{"water_1", 1}, {"water_2", 1}, {"water_3", 1}}, {{"Water", 8}}},
        {{{"enable_charge_jump", 1}}, {{"EnableChargeJump", 1}, {"Water", 7}}},
        {{{"light_1", 1}, {"light_3", 1}}, {{"LightTime", 240}}},
        {{{"light_refill_1", 1}}, {{"LightRefillMultiplier", 1.5f}}},
        {{{"pickaxe_1", 2}, {"pickaxe_3", 1}}, {{"pickaxe TileReduction", 7}}},
        {{{"pickaxe_damage_1", 3}}, {{"pickaxe EnemyReduction", 1.5f}}},
        {{{"pickaxe_speed_1", 2}}, {{"pickaxe AttackCooldown", 0.4f}}},
        {{{"pickaxe_pre", 1}}, {{"pickaxe Tier", 3}, {"pickaxe Type", float(DamageType::Normal)}}},
        {{{"drill_1", 1}, {"drill_2", 1}}, {{"drill TileReduction", 11}}},
        {{{"drill_efficiency", 1}}, {{"drill WaterDrain", 1.5f * 0.66667f}}},
        {{{"punch_1", 2}}, {{"punch TileReduction", 5}, {"punch EnemyReduction", 3}}},
        {{{"punch_speed", 1}}, {{"punch AttackChargeTime", 0.4f}, {"punch AttackPitchTime", 0.2f}}},
        {{{"enable_run", 1}}, {{"EnableRun", 1}}},
        {{{"enable_jump_double", 1}}, {{"EnableDoubleJump", 1}}},
        {{{"armor_reduce", 1}}, {{"DamageReduction", 0.25f}}},
        {{{"water_reduce", 1}}, {{"WaterReduction", 0.25f}}},
        {{{"water_process", 2}}, {{"DrainWaterMultiplier", 2}}},
        {{{"chargejump_1", 1}}, {{"chargeJumpFactor", 0.5f}}},
        // Counts of 0 own nothing; pouches and other names leave the definition alone.
        {{{"armor_1", 0}, {"enable_run", 0}, {"pickaxe_pre", 0}}, {}},
        {{{"pouch_1", 3}, {"lamp", 5}, {"reached_mireth", 1}}, {}},
    };
    for (const Case& c : cases)
        expectFields(upgraded(c.items), with(NothingOwned, c.changes), ::testing::PrintToString(c.items));
}

TEST_F(PlayerUpgradesTest, AllRowsTogetherAddToTheRegisteredValuesOnce) {
    const Items everything = {
        {"fall_dampeners", 1}, {"armor_1", 1}, {"armor_2", 1}, {"armor_3", 2}, {"water_1", 1}, {"water_2", 1},
        {"water_3", 1}, {"enable_charge_jump", 1}, {"light_1", 1}, {"light_2", 1}, {"light_3", 1},
        {"light_refill_1", 1}, {"pickaxe_1", 2}, {"pickaxe_2", 2}, {"pickaxe_3", 1}, {"pickaxe_damage_1", 1},
        {"pickaxe_speed_1", 1}, {"pickaxe_pre", 1}, {"drill_1", 1}, {"drill_2", 1}, {"drill_efficiency", 1},
        {"punch_1", 1}, {"punch_speed", 1}, {"enable_run", 1}, {"enable_jump_double", 1}, {"armor_reduce", 1},
        {"water_reduce", 1}, {"water_process", 1}, {"chargejump_1", 1},
    };
    const Fields expected = with(NothingOwned, {
        {"FallDamageIgnore", 1}, {"HitPoints", 14}, {"Water", 10}, {"EnableChargeJump", 1}, {"LightTime", 300},
        {"LightRefillMultiplier", 1.5f}, {"pickaxe TileReduction", 11}, {"pickaxe EnemyReduction", 1.5f},
        {"pickaxe AttackCooldown", 0.4f}, {"pickaxe Tier", 3}, {"pickaxe Type", float(DamageType::Normal)},
        {"drill TileReduction", 11}, {"drill WaterDrain", 1.5f * 0.66667f}, {"punch TileReduction", 3},
        {"punch EnemyReduction", 2}, {"punch AttackChargeTime", 0.4f}, {"punch AttackPitchTime", 0.2f},
        {"EnableRun", 1}, {"EnableDoubleJump", 1}, {"DamageReduction", 0.25f}, {"WaterReduction", 0.25f},
        {"DrainWaterMultiplier", 1.5f}, {"chargeJumpFactor", 0.5f},
    });
    ActorObject& miner = spawnMiner();
    const ItemCountMap items = itemsOf(everything);
    applyPlayerUpgrades(items, miner, false);
    expectFields(fieldsOf(miner.definition()), expected, "once");
    applyPlayerUpgrades(items, miner, true);
    expectFields(fieldsOf(miner.definition()), expected, "twice");

    // The copy serves as both definitions; the registered record stays as the data has it.
    EXPECT_EQ(static_cast<const GameObjectDefinition*>(&miner.definition()), &miner.gameObjectDefinition());
    EXPECT_NE(&miner.definition(), &findActorDefinition("upgrade_miner"));
    expectFields(fieldsOf(findActorDefinition("upgrade_miner")), with(NothingOwned, {
        {"EnableRun", 1}, {"EnableDoubleJump", 1}, {"LightRefillMultiplier", 1.2f}, {"AutoRefillLight", 0},
        {"DamageReduction", 0.1f}, {"WaterReduction", 0.1f}, {"DrainWaterMultiplier", 3},
        {"pickaxe Type", float(DamageType::Crush)},
    }), "registered");
}

TEST_F(PlayerUpgradesTest, RefillFillsRaisedMaximaAndAsksForAWeapon) {
    struct Case {
        const char* what;
        Items items;
        bool refill;
        std::int32_t weaponIndex;
        float hitPoints, water, lightTime;
        std::int32_t requestedWeapon;
    };
    // The miner starts at 4 hit points, 2 water and 30 s of light, asking for weapon 7.
    const Case cases[] = {
        {"raised light", {{"light_1", 1}}, true, 2, 4, 2, 180, 2},
        {"raised health and water", {{"armor_1", 1}, {"enable_charge_jump", 1}}, true, 3, 11, 7, 30, 3},
        {"nothing raised", {{"armor_reduce", 1}}, true, 1, 4, 2, 30, 1},
        {"weapon 0 becomes 1", {}, true, 0, 4, 2, 30, 1},
        {"no weapon becomes 1", {}, true, -1, 4, 2, 30, 1},
        {"without refill", {{"light_1", 1}, {"armor_1", 2}}, false, 0, 4, 2, 30, 7},
    };
    for (const Case& c : cases) {
        ActorObject& miner = spawnMiner();
        miner.hitPoints = 4;
        miner.water = 2;
        miner.lightTime = 30;
        miner.weaponIndex = c.weaponIndex;
        miner.requestedWeapon = 7;
        applyPlayerUpgrades(itemsOf(c.items), miner, c.refill);
        EXPECT_FLOAT_EQ(miner.hitPoints, c.hitPoints) << c.what;
        EXPECT_FLOAT_EQ(miner.water, c.water) << c.what;
        EXPECT_FLOAT_EQ(miner.lightTime, c.lightTime) << c.what;
        EXPECT_EQ(miner.requestedWeapon, c.requestedWeapon) << c.what;
    }
}

TEST_F(PlayerUpgradesTest, AMaximumRaisedOnceFillsOnce) {
    ActorObject& miner = spawnMiner();
    const ItemCountMap items = itemsOf({{"armor_1", 2}});
    applyPlayerUpgrades(items, miner, true);
    EXPECT_FLOAT_EQ(miner.hitPoints, 12);
    miner.hitPoints = 5;
    applyPlayerUpgrades(items, miner, true);
    EXPECT_FLOAT_EQ(miner.hitPoints, 5);
}

TEST_F(PlayerUpgradesTest, MissingWeaponsAreSkippedAndReportedOnce) {
    test::LogCapture log;
    ActorObject* player = world.spawnPlayer();
    ASSERT_NE(player, nullptr);
    const ItemCountMap items = itemsOf({{"pickaxe_1", 2}, {"drill_1", 1}, {"punch_speed", 1}, {"armor_1", 1}});
    applyPlayerUpgrades(items, *player, true);
    applyPlayerUpgrades(items, *player, true);
    EXPECT_TRUE(player->definition().weapons.empty());
    EXPECT_FLOAT_EQ(player->definition().hitPoints, 11);
    ASSERT_EQ(log.warnings.size(), 1u);
    EXPECT_NE(log.warnings.front().find("'player' has 0 weapons"), std::string::npos) << log.warnings.front();
}

TEST(PouchCapacity, ThreeSlotsAndOnePerPouch) {
    const std::pair<Items, std::int32_t> cases[] = {
        {{}, 3},
        {{{"pouch_1", 0}}, 3},
        {{{"pouch_1", 2}}, 5},
        {{{"pouch_1", 3}, {"pouch_2", 2}, {"pouch_3", 1}}, 9},
        {{{"pouch_4", 5}, {"armor_1", 1}}, 3},
    };
    for (const auto& [items, capacity] : cases) {
        PlayerProgress progress;
        progress.items = itemsOf(items);
        pouchCapacity(progress);
        EXPECT_EQ(progress.inventory.capacity, capacity) << ::testing::PrintToString(items);
    }
}

} // namespace
} // namespace zor
