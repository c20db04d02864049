#include "game/simulation/rules/GameDebugCommands.h"

#include "game/definitions/UpgradeDefinition.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace zor {

namespace {

struct ItemCount {
    const char* name;
    std::int32_t count;
};

struct ItemSet {
    const ItemCount* items;
    std::size_t size;
};

template <std::size_t N>
constexpr ItemSet setOf(const ItemCount (&items)[N]) {
    return {items, N};
}

constexpr ItemCount MirethSet[] = {{"reached_mireth", 1}, {"pickaxe_pre", 1}, {"pickaxe", 1}};
constexpr ItemCount DeepVaultSet[] = {
    {"reached_deep_vault", 1}, {"enable_tube_deepvault", 1}, {"enable_run", 1}, {"enable_charge_jump", 1},
    {"drill", 1},              {"pickaxe_1", 4},             {"light_1", 1},    {"armor_1", 1},
    {"water_1", 1},            {"pouch_1", 2},               {"experience_shop_1", 1}};
constexpr ItemCount QuelloxSet[] = {
    {"reached_quellox", 1}, {"enable_tube_quellox", 1}, {"punch", 1},   {"fall_dampeners", 1}, {"enable_dynamite", 1},
    {"dynamite", 5},        {"light_2", 1},             {"experience_shop_2", 1}, {"drill_1", 2}, {"pickaxe_1", 4},
    {"pickaxe_2", 4},       {"pouch_1", 3},             {"pouch_2", 2}, {"armor_1", 2},        {"water_1", 2},
    {"armor_2", 2},         {"water_2", 2}};
constexpr ItemCount BossSet[] = {{"enable_jump_double", 1}, {"enable_spark_run", 1}, {"minimap_resources", 1},
                                 {"pickaxe_speed_1", 1},    {"pickaxe_3", 3},        {"drill_2", 1},
                                 {"armor_3", 1},            {"water_3", 1}};

// In order of the regions, so a later region's count overrides an earlier one's.
constexpr ItemSet RegionSets[] = {setOf(MirethSet), setOf(DeepVaultSet), setOf(QuelloxSet), setOf(BossSet)};

DebugFlag& declare(const char* name, const char* category) {
    return declareDebugToggle(DebugToggle(name, DebugToggle::OneShot, category));
}

void raiseToLimits(ItemCountMap& items) {
    for (const auto& upgrade : upgradeRegistry().definitions()) {
        std::int32_t& count = items.counts[upgrade->name];
        count = std::max(count, upgrade->limit);
    }
}

void removeUpgrades(World& world) {
    for (auto& entry : world.progress.items.counts)
        if (entry.second > 0) entry.second = 0;
    if (ActorObject* player = world.player()) player->weaponIndex = 0;
}

// No upgrades, then the sets of the first `regions` regions, with at least `experience`.
void upgradeToRegion(World& world, std::size_t regions, std::int32_t experience) {
    removeUpgrades(world);
    ItemCountMap& items = world.progress.items;
    for (std::size_t region = 0; region < regions; ++region)
        for (std::size_t i = 0; i < RegionSets[region].size; ++i)
            items.counts[RegionSets[region].items[i].name] = RegionSets[region].items[i].count;
    world.progress.experience = std::max(world.progress.experience, experience);
}

} // namespace

GameDebugCommands::GameDebugCommands()
    : m_cash(declare("cash", "game")),
      m_experience(declare("exp", "game")),
      m_upgradeAll(declare("upgradeAll", "upgrade")),
      m_upgradeNone(declare("upgradeNone", "upgrade")),
      m_upgradeMireth(declare("upgradeMireth", "upgrade")),
      m_upgradeDeepvault(declare("upgradeDeepvault", "upgrade")),
      m_upgradeQuellox(declare("upgradeQuellox", "upgrade")),
      m_upgradeBoss(declare("upgradeBoss", "upgrade")) {}

bool GameDebugCommands::serve(World& world) {
    PlayerProgress& progress = world.progress;
    bool served = false;
    if (m_cash.exchange(false)) {
        progress.cash += 1000;
        progress.orbs += 10;
        served = true;
    }
    if (m_experience.exchange(false)) {
        progress.experience += 100;
        served = true;
    }
    if (m_upgradeAll.exchange(false)) {
        raiseToLimits(progress.items);
        served = true;
    }
    if (m_upgradeNone.exchange(false)) {
        removeUpgrades(world);
        served = true;
    }
    if (m_upgradeMireth.exchange(false)) {
        upgradeToRegion(world, 1, 0);
        served = true;
    }
    if (m_upgradeDeepvault.exchange(false)) {
        upgradeToRegion(world, 2, 1200);
        served = true;
    }
    if (m_upgradeQuellox.exchange(false)) {
        upgradeToRegion(world, 3, 5000);
        served = true;
    }
    if (m_upgradeBoss.exchange(false)) {
        upgradeToRegion(world, 4, 12000);
        served = true;
    }
    return served;
}

} // namespace zor
