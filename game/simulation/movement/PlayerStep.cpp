#include "game/simulation/movement/ActorMovement.h"

#include "game/simulation/GameObjectSimulator.h"
#include "game/simulation/ports/UserInterface.h"
#include "game/simulation/tools/ToolUse.h"

#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/physics/PhysicsSystem.h"

#include <algorithm>
#include <cmath>

namespace zor {

namespace {

constexpr std::size_t SpeedHistoryLength = 6;

void warnOfMissingWater(GameObjectSimulator& objects, const ActorObject& player) {
    if (!player.attackPressed || !player.hasWeapon()) return;
    const ActorDefinition::Weapon& weapon = player.currentWeapon();
    if (weapon.waterDrain <= 0.0f || weapon.minimumWater <= player.water || player.chargeTime > 0.0f) return;
    objects.showPlayerMessage("need_water");
    // The zero colour is the water bar's own.
    if (player.definition().waterCapacity > 0.0f)
        objects.userInterface().setStatusBarGlow(StatusBar::Water, 2, PackedColor());
}

void recordSpeed(std::vector<float>& history, float speed) {
    if (history.size() >= SpeedHistoryLength) history.erase(history.begin());
    history.push_back(speed);
}

// The push overrides the player's input while it runs; against a wall the player stays
// put but the push still runs down at its speed.
void pushBack(GameObjectSimulator& objects, ActorObject& player, float step) {
    float& remaining = objects.pushBackRemaining;
    if (remaining == 0.0f) return;
    player.moveVector = fpVector2(0.0f, 0.0f);
    const float move = std::copysign(std::min(objects.settings().pushBackSpeed * step, std::fabs(remaining)), remaining);
    if (PhysicsSystem* physics = objects.physics())
        physics->moveObjectTo(player.physicalObject, player.getPosition() + fpVector2(move, 0.0f), true, nullptr,
                              true);
    remaining -= move;
    if (std::fabs(remaining) < 1.0f) remaining = 0.0f;
}

} // namespace

void ActorMovement::updatePlayer(GameObjectSimulator& objects, float step) {
    if (ActorObject* player = objects.world().player(); player && !player->physicalObject.bodies().empty()) {
        chooseTool(objects.world(), *player);
        if (player->useToolPressed) {
            player->useToolPressed = false;
            useTool(objects, player->toolIndex);
        }
        warnOfMissingWater(objects, *player);
        recordSpeed(objects.playerSpeedHistory, std::fabs(player->physicalObject.velocity.x));
        pushBack(objects, *player, step);
    }
    objects.messageCooldown = std::max(objects.messageCooldown - step, 0.0f);
}

} // namespace zor
