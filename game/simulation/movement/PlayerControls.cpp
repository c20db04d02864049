#include "game/simulation/movement/PlayerControls.h"

#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/progress/ItemCountMap.h"

#include "Framework/input/InputState.h"

#include <algorithm>
#include <cmath>

namespace zor {

namespace {

// A stick below this share of its travel means no push.
constexpr float DeadZone = 0.15f;
const std::string MenuSelectCue = "menu_select";

float axisWish(float value) {
    if (std::fabs(value) < DeadZone) return 0.0f;
    return value < 0.0f ? -1.0f : 1.0f;
}

void queueCue(World& world, const ActorObject& player, const std::string& cue) {
    world.soundRequests.push_back(SoundRequest{cue, player.getPosition(), 1.0f});
}

// The diagonal goes to the axis whose button changed last.
void aim(ActorObject& player, const iVector2& direction) {
    if (direction.x == 0 || direction.y == 0)
        player.aimDirection = direction;
    else if (direction.x != player.lastDirectionInput.x)
        player.aimDirection = iVector2(direction.x, 0);
    else if (direction.y != player.lastDirectionInput.y)
        player.aimDirection = iVector2(0, direction.y);
    player.lastDirectionInput = direction;
}

// Weapon 0 is never chosen by cycling; a weapon whose upgrade the player lacks is passed.
void cycleWeapon(World& world, ActorObject& player) {
    const auto& weapons = player.definition().weapons;
    const auto count = std::int32_t(weapons.size());
    for (std::int32_t i = 0; i < count; ++i) {
        const std::int32_t next = ((player.requestedWeapon + i + 1) % count + count) % count;
        if (next == 0) continue;
        const std::string& upgrade = weapons[std::size_t(next)].requiredUpgrade;
        if (upgrade.empty() || hasItemAmount(upgrade, world.progress.items, 1)) {
            player.requestedWeapon = next;
            return;
        }
    }
}

void aimWhereFacing(ActorObject& player) {
    if (player.aimDirection.x == 0 && player.aimDirection.y == 0)
        player.aimDirection.x = std::int32_t(player.facing.x);
}

} // namespace

fpVector2 directionButtonsAsVector(const InputState& input) {
    const iVector2 cells = directionButtonsAsCells(input);
    return {float(cells.x), float(cells.y)};
}

iVector2 directionButtonsAsCells(const InputState& input) {
    const std::int32_t x = (input.isHeld("move_right") ? 1 : 0) - (input.isHeld("move_left") ? 1 : 0);
    const std::int32_t y = (input.isHeld("move_down") ? 1 : 0) - (input.isHeld("move_up") ? 1 : 0);
    return {std::clamp(x, -1, 1), std::clamp(y, -1, 1)};
}

bool readPlayerControls(World& world, ActorObject& player, const InputState& input) {
    if (player.busyFlags != 0 || player.knockbackTime > 0.0f) {
        player.aimDirection = iVector2();
        aimWhereFacing(player);
        return false;
    }
    player.downPressed = input.wasPressed("move_down");
    player.upPressed = input.wasPressed("move_up");
    player.leftPressed = input.wasPressed("move_left");
    player.rightPressed = input.wasPressed("move_right");

    const fpVector2 wish = directionButtonsAsVector(input);
    player.moveVector = {axisWish(wish.x), axisWish(wish.y)};
    if (player.wallJumpLockTime > 0.0f &&
        ((player.moveVector.x > 0.0f && player.wallJumpLockDirection >= 1) ||
         (player.moveVector.x < 0.0f && player.wallJumpLockDirection < 0)))
        player.moveVector.x = 0.0f;

    if (input.wasPressed("jump")) player.jumpPressed = true;
    player.jumpHeld = input.isHeld("jump");
    if ((player.attackRepeat && input.isHeld("attack")) || input.wasPressed("attack")) player.attackPressed = true;
    aim(player, directionButtonsAsCells(input));
    player.runHeld = input.isHeld("run");
    // A running, moving player cannot activate.
    if (input.wasPressed("activate") && !(player.running && player.physicalObject.velocity.x != 0.0f))
        player.activatePressed = true;
    if (input.wasPressed("use_tool")) player.useToolPressed = true;

    if (input.wasPressed("cycle_weapon")) {
        queueCue(world, player, MenuSelectCue);
        cycleWeapon(world, player);
    }
    if (input.wasPressed("weapon_1")) player.requestedWeapon = 1;
    if (input.wasPressed("weapon_2")) player.requestedWeapon = 2;
    if (input.wasPressed("weapon_3")) player.requestedWeapon = 3;
    // Without tools there is nothing to cycle through.
    const auto tools = std::int32_t(player.definition().tools.size());
    if (input.wasPressed("cycle_tool") && tools > 0) {
        player.requestedToolIndex = ((player.requestedToolIndex + 1) % tools + tools) % tools;
        queueCue(world, player, MenuSelectCue);
    }
    aimWhereFacing(player);
    return true;
}

void finishPlayerControls(ActorObject& player) {
    player.activatePressed = false;
    if (!player.lookUpRequest) return;
    player.sendAnimationInput("look_up", player.definition().animationState);
    player.lookUpRequest = false;
}

} // namespace zor
