#include "game/simulation/rules/PlayRules.h"

#include "game/definitions/ConversationDefinition.h"
#include "game/simulation/Simulator.h"
#include "game/simulation/audio/GameAudio.h"
#include "game/simulation/rules/ExperienceLevels.h"
#include "game/simulation/rules/PlayerUpgrades.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"

#include "Framework/store/AchievementStore.h"

#include <optional>

namespace zor {

namespace {

struct RegionCounter {
    const char* item;
    const char* counter;
};
constexpr RegionCounter RegionCounters[] = {
    {"reached_mireth", "cntr_mireth"},
    {"reached_deep_vault", "cntr_deep_vault"},
    {"reached_quellox", "cntr_quellox"},
};

// The upgrades whose counts together make the "fully loaded" counter.
constexpr const char* FullLoadout[] = {"punch_1",         "water_process",    "drill_efficiency", "punch_speed",
                                       "armor_reduce",    "pickaxe_3",        "pickaxe_speed_1",  "pickaxe_damage_1",
                                       "light_3",         "armor_3",          "water_3",          "pouch_3",
                                       "drill_2"};

void countGainedItem(const std::string& name, const ItemCountMap& items) {
    for (const RegionCounter& region : RegionCounters)
        if (name == region.item) updateAchievementCounter(1, false, region.counter);
    std::int32_t loadout = 0;
    for (const char* upgrade : FullLoadout) loadout += itemCount(upgrade, items);
    updateAchievementCounter(loadout, false, "cntr_fully_loaded");
}

} // namespace

void PlayRules::onItemGained(Simulator& simulator, const std::string& name) {
    World& world = simulator.world();
    if (ActorObject* player = world.player()) zor::applyPlayerUpgrades(world.progress.items, *player, true);
    zor::pouchCapacity(world.progress);
    countGainedItem(name, world.progress.items);
    saveAchievementProgress();
}

void PlayRules::onDiscardRequested(Simulator& simulator, std::int32_t slot) {
    World& world = simulator.world();
    InventorySlotList& inventory = world.progress.inventory;
    if (!hasItemAmount("pickaxe_pre", world.progress.items, 1)) return;
    if (slot < 0 || std::size_t(slot) >= inventory.slots.size()) return;
    inventory.clearSlot(slot);
    world.inventoryChanged.fireNoArgs();
    simulator.audio().playCue("inventory_discard", 1.0f, 1.0f, std::nullopt);
}

void PlayRules::onConversationEnded(Simulator& simulator, const ConversationDefinition* conversation) {
    if (conversation && conversation->prospector) sellInventory(simulator);
}

void PlayRules::serveDebugCommands(Simulator& simulator) {
    if (m_debugCommands.serve(simulator.world())) onItemGained(simulator, std::string());
}

void PlayRules::sellInventory(Simulator& simulator) {
    m_sale.begin(simulator, experienceTable());
}

void PlayRules::updateSale(Simulator& simulator, float step) {
    m_sale.update(simulator, step);
}

void PlayRules::applyPlayerUpgrades(Simulator& simulator, ActorObject& player) {
    zor::applyPlayerUpgrades(simulator.world().progress.items, player, false);
}

std::int32_t PlayRules::pouchCapacity(Simulator& simulator) {
    PlayerProgress& progress = simulator.world().progress;
    zor::pouchCapacity(progress);
    return progress.inventory.capacity;
}

} // namespace zor
