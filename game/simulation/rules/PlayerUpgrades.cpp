#include "game/simulation/rules/PlayerUpgrades.h"

#include "game/definitions/ActorDefinition.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/progress/PlayerProgress.h"

#include "Framework/core/log/LogHandler.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <set>
#include <string>

namespace zor {

namespace {

constexpr const char* LogSource = "PlayerUpgrades";

constexpr std::size_t Pickaxe = 1;
constexpr std::size_t Drill = 2;
constexpr std::size_t Punch = 3;
constexpr std::int32_t BasePouchSlots = 3;
constexpr float SecondsPerLightUpgrade = 60.0f;

class UpgradeCounts {
public:
    explicit UpgradeCounts(const ItemCountMap& items) : m_items(items) {}

    std::int32_t count(const char* name) const { return itemCount(name, m_items); }
    bool owned(const char* name) const { return hasItemAmount(name, m_items, 1); }
    bool any(const char* name) const { return count(name) > 0; }
    std::int32_t sum(const char* a, const char* b, const char* c = nullptr) const {
        return count(a) + count(b) + (c ? count(c) : 0);
    }

private:
    const ItemCountMap& m_items;
};

// Data with fewer weapons than the upgrades expect is unusual but playable: say so once.
void reportMissingWeapons(const ActorDefinition& definition) {
    static std::set<std::string> reported;  // main thread only, like every caller
    if (!reported.insert(definition.name).second) return;
    LogHandler::log(LogHandler::Warning, LogSource,
                    "Actor definition '" + definition.name + "' has " + std::to_string(definition.weapons.size()) +
                        " weapons; the upgrades of the weapons 1 to 3 it lacks are skipped");
}

ActorDefinition::Weapon* weaponAt(ActorDefinition& definition, std::size_t index) {
    return index < definition.weapons.size() ? &definition.weapons[index] : nullptr;
}

void upgradeWeapons(ActorDefinition& definition, const UpgradeCounts& upgrades) {
    if (definition.weapons.size() <= Punch) reportMissingWeapons(definition);
    if (ActorDefinition::Weapon* pickaxe = weaponAt(definition, Pickaxe)) {
        DamageData& damage = pickaxe->attackDamage;
        damage.tileReduction += 2 * upgrades.sum("pickaxe_1", "pickaxe_2", "pickaxe_3");
        if (upgrades.any("pickaxe_damage_1")) damage.enemyReduction += 1.0f;
        if (upgrades.any("pickaxe_speed_1")) pickaxe->cooldown *= 0.8f;
        // Without the first pickaxe upgrade the pick only scratches, whatever the data says.
        const bool sharpened = upgrades.any("pickaxe_pre");
        if (sharpened) damage.tier += 1;
        damage.type = sharpened ? DamageType::Normal : DamageType::Weak;
    }
    if (ActorDefinition::Weapon* drill = weaponAt(definition, Drill)) {
        drill->attackDamage.tileReduction += 4 * upgrades.sum("drill_1", "drill_2");
        if (upgrades.any("drill_efficiency")) drill->waterDrain *= 0.66667f;
    }
    if (ActorDefinition::Weapon* punch = weaponAt(definition, Punch)) {
        const std::int32_t punches = upgrades.count("punch_1");
        punch->attackDamage.tileReduction += 2 * punches;
        punch->attackDamage.enemyReduction += float(punches);
        if (upgrades.any("punch_speed")) {
            punch->chargeTime *= 0.5f;
            punch->pitchTime *= 0.5f;
        }
    }
}

void upgradeDefinition(ActorDefinition& definition, const UpgradeCounts& upgrades) {
    if (upgrades.owned("fall_dampeners")) definition.fallDamageIgnored = true;
    definition.hitPoints += float(upgrades.sum("armor_1", "armor_2", "armor_3"));
    definition.waterCapacity += float(upgrades.sum("water_1", "water_2", "water_3"));
    definition.enableChargeJump = upgrades.owned("enable_charge_jump");
    if (definition.enableChargeJump) definition.waterCapacity += 2.0f;
    definition.lightTime += float(upgrades.sum("light_1", "light_2", "light_3")) * SecondsPerLightUpgrade;
    definition.lightRefillMultiplier = upgrades.owned("light_refill_1") ? 1.5f : 1.0f;
    upgradeWeapons(definition, upgrades);
    definition.enableRun = upgrades.owned("enable_run");
    definition.enableDoubleJump = upgrades.owned("enable_jump_double");
    definition.damageReduction = upgrades.any("armor_reduce") ? 0.25f : 0.0f;
    definition.waterReduction = upgrades.any("water_reduce") ? 0.25f : 0.0f;
    definition.drainWaterMultiplier = 1.0f + 0.5f * float(upgrades.count("water_process"));
    definition.chargeJumpFactor = upgrades.owned("chargejump_1") ? 0.5f : 1.0f;
    definition.autoRefillLight = true;
}

// A raised maximum fills up; an unchanged one leaves the value alone.
void fillRaised(float& value, float oldMaximum, float newMaximum) {
    if (oldMaximum < newMaximum) value = newMaximum;
}

} // namespace

void applyPlayerUpgrades(const ItemCountMap& items, ActorObject& player, bool refill) {
    auto upgraded = std::make_shared<ActorDefinition>(findActorDefinition(player.definition().name));
    upgradeDefinition(*upgraded, UpgradeCounts(items));
    if (refill) {
        const ActorDefinition& old = player.definition();
        fillRaised(player.hitPoints, old.hitPoints, upgraded->hitPoints);
        fillRaised(player.water, old.waterCapacity, upgraded->waterCapacity);
        fillRaised(player.lightTime, old.lightTime, upgraded->lightTime);
        player.requestedWeapon = player.weaponIndex > 0 ? player.weaponIndex : 1;
    }
    player.installDefinition(std::move(upgraded));
}

void pouchCapacity(PlayerProgress& progress) {
    progress.inventory.capacity = BasePouchSlots + UpgradeCounts(progress.items).sum("pouch_1", "pouch_2", "pouch_3");
}

} // namespace zor
