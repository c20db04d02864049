// What the player gets from a resource it touches, and the floating texts of pickups and
// of messages over the player's head.

#include "game/simulation/GameObjectSimulator.h"

#include "game/simulation/GameSession.h"
#include "game/simulation/Simulator.h"
#include "game/simulation/ports/UserInterface.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/entity/ResourceObject.h"
#include "game/world/entity/WorldText.h"

#include "game/definitions/InventoryItemDefinition.h"

#include "Framework/core/localization/LocalizationHandler.h"
#include "Framework/core/math/Randomizer.h"
#include "Framework/core/localization/LocalizedFormat.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace zor {

namespace {

constexpr float InventoryPanelSeconds = 3.0f;
constexpr float FullTurn = 6.2831855f;
constexpr float PickupTextScale = 0.5f;
constexpr float RisingSpeed = -20.0f;
constexpr float PulseSeconds = 0.5f;
constexpr float SmallTextSeconds = 0.7f;
constexpr float SmallTextExtraTime = 0.1f;
constexpr float MessageCooldownSeconds = 1.0f;
constexpr float MessageAboveHead = 10.0f;

float clampedTo(float value, float maximum) { return std::min(std::max(value, 0.0f), maximum); }

// Hundredths of a gain, cut toward zero.
std::int32_t hundredths(float gain) { return std::int32_t(std::trunc(gain * 100.0f)); }

const std::string& localLine(const std::string& id) {
    return LocalizationHandler::exists() ? LocalizationHandler::instance().getLine(id) : id;
}

std::int32_t saturated(std::int64_t value) {
    return std::int32_t(std::min<std::int64_t>(value, std::numeric_limits<std::int32_t>::max()));
}

} // namespace

void GameObjectSimulator::pickUpResource(ActorObject& player, ResourceObject& resource) {
    const ResourceDefinition& definition = resource.definition();
    const ActorDefinition& vitals = player.definition();
    PlayerProgress& progress = m_world.progress;

    if (definition.giveHitPoints > 0.0f || definition.giveWater > 0.0f || definition.giveLightFraction > 0.0f) {
        const float oldHitPoints = player.hitPoints;
        const float oldWater = player.water;
        const float oldLight = player.lightTime;
        player.hitPoints = clampedTo(oldHitPoints + definition.giveHitPoints, vitals.hitPoints);
        player.water = clampedTo(oldWater + definition.giveWater, vitals.waterCapacity);
        player.lightTime = clampedTo(
            oldLight + vitals.lightRefillMultiplier * definition.giveLightFraction * vitals.lightTime, vitals.lightTime);
        const std::int32_t hitPointGain = hundredths(player.hitPoints - oldHitPoints);
        const std::int32_t waterGain = hundredths(player.water - oldWater);
        // A lamp without light time gains nothing rather than a division by zero.
        const std::int32_t lightGain =
            vitals.lightTime != 0.0f ? hundredths((player.lightTime - oldLight) / vitals.lightTime) : 0;
        // A refill that changed nothing points at its bar instead.
        if (definition.giveHitPoints != 0.0f && hitPointGain == 0) m_userInterface.flashStatusBar(StatusBar::Health);
        if (definition.giveWater != 0.0f && waterGain == 0 && vitals.waterCapacity > 0.0f)
            m_userInterface.flashStatusBar(StatusBar::Water);
        if (definition.giveLightFraction != 0.0f && lightGain == 0) m_userInterface.flashStatusBar(StatusBar::Light);
        if (!definition.pickupIcon.empty()) showPickupText(resource, "", definition.pickupIcon, true);
    }

    if (!definition.giveUpgrade.empty()) {
        ++progress.items.counts[definition.giveUpgrade];
        m_world.itemGained.fire(definition.giveUpgrade);
    }

    std::int64_t gained = 0;
    bool allTaken = true;
    bool someTaken = false;
    const InventoryItemDefinition& item = definition.item;
    if (item.value > 0) {
        const std::int32_t leftover = progress.inventory.add(definition.name, 1);
        gained = std::int64_t(1 - leftover) * item.value;
        allTaken = someTaken = leftover == 0;
    }
    if (item.orbValue > 0) {
        progress.orbs += item.orbValue;
        if (GameSession* session = m_owner.session()) session->currentSlot().totalOrbs += item.orbValue;
        if (!definition.pickupInterfaceEffect.empty())
            m_userInterface.spawnScreenEffect(definition.pickupInterfaceEffect, -1,
                                              m_userInterface.getWidgetPosition("orbs"));
        // Orbs never take a slot, so an orb is always used up.
        allTaken = true;
    }
    for (InventorySlot& slot : resource.contents.slots) {
        const std::int32_t count = slot.count;
        if (count <= 0) continue;
        const std::int32_t leftover = progress.inventory.add(slot.itemName, count);
        if (const auto carried = findInventoryItemDefinitionOrNull(slot.itemName))
            gained += std::int64_t(count - leftover) * carried->value;
        someTaken = someTaken || leftover != count;
        allTaken = allTaken && leftover == 0;
        slot.count = leftover;
    }

    if (gained > 0) {
        if (item.nameStringId.empty()) {
            showPickupText(resource, "", definition.sprite, false);
        } else {
            const std::string text =
                (LocalizedFormat("resource_pickup") % localLine(item.nameStringId) % saturated(gained)).str();
            showPickupText(resource, text, definition.sprite, false);
        }
    }
    if (someTaken) m_world.inventoryChanged.fireNoArgs();
    if (allTaken || someTaken) {
        m_userInterface.showInventoryPanel(InventoryPanelSeconds);
        if (!definition.pickupSound.empty()) player.pendingSounds.push_back(definition.pickupSound);
        if (!definition.pickupEffect.empty()) {
            const float rotation = definition.pickupEffectRandomRotation ? m_world.random().nextFloat() * FullTurn : 0.0f;
            m_world.spawnEffect(definition.pickupEffect, resource.getPosition(), rotation, 1.0f);
        }
    }
    if (allTaken) {
        m_world.removeEntity(&resource);
    } else if (!resource.inventoryFullShown) {
        resource.inventoryFullShown = true;
        showPlayerMessage("inventory_full");
    }
}

void GameObjectSimulator::showPickupText(const ResourceObject& resource, const std::string& text,
                                         const std::string& icon, bool small) {
    WorldText* shown = m_world.spawnWorldText(resource.center(), text);
    shown->iconSprite = icon;
    shown->scale = PickupTextScale;
    const Color3& color = resource.definition().pickupColor;
    shown->red = color.r;
    shown->green = color.g;
    shown->blue = color.b;
    shown->alpha = 1.0f;
    if (small) {
        shown->pulseRemaining = shown->pulseDuration = PulseSeconds;
        shown->remainingTime = shown->fadeTime = SmallTextSeconds;
        if (!shown->timed) {
            shown->remainingTime += SmallTextExtraTime;
            shown->timed = true;
        }
    } else {
        shown->velocity = fpVector2(0.0f, RisingSpeed);
        if (!shown->timed) {
            shown->remainingTime += WorldText::StandardExtraTime;
            shown->timed = true;
        }
    }
}

void GameObjectSimulator::showPlayerMessage(const std::string& lineId) {
    const ActorObject* player = m_world.player();
    if (messageCooldown > 0.0f || !player || player->physicalObject.bodies().empty()) return;
    const fpRect bounds = player->physicalObject.bodies().front().getBounds();
    WorldText* shown =
        m_world.spawnWorldText(fpVector2(bounds.x + bounds.w / 2.0f, bounds.y - MessageAboveHead), localLine(lineId));
    if (shown) {
        shown->velocity.y = RisingSpeed;
        if (!shown->timed) {
            shown->timed = true;
            shown->remainingTime += WorldText::StandardExtraTime;
        }
    }
    messageCooldown = MessageCooldownSeconds;
}

} // namespace zor
