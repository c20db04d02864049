#include "game/simulation/tools/Buildings.h"

#include "game/simulation/GameObjectSimulator.h"

#include "game/definitions/NameEnumerations.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/entity/Projectile.h"
#include "game/world/physics/PhysicsSystem.h"

#include <cmath>
#include <memory>
#include <vector>

namespace zor {

namespace {

constexpr float CellSize = 40.0f;
// What may not stand inside a building: enemies, hard enemies, rocks, items, wall
// enemies, ladders, lamps, townsfolk, exits and supports.
constexpr std::uint32_t BlockingMask = 127534;
// A ladder may not reach into tiles either.
constexpr std::uint32_t LadderBlockingMask = BlockingMask | CollisionGroup::Tiles;
constexpr std::uint32_t GroundMask = CollisionGroup::Rocks | CollisionGroup::Tiles;
constexpr float LadderGrabSeconds = 0.1f;
constexpr float DynamiteSpeed = 200.0f;
constexpr float DynamiteUpAngle = -1.1780972f;     // 67.5 degrees above the horizontal
constexpr float DynamiteLevelAngle = -0.7853982f;  // 45 degrees above the horizontal

// The player's cell, the middle of its bottom edge (where buildings stand) and the cell
// below it (what they stand on).
struct Placement {
    fpVector2 anchor;
    fpRect groundCell;
};

Placement placementOf(const ActorObject& player) {
    const fpVector2 centre = player.center();
    const float column = std::trunc(centre.x / CellSize);
    const float row = std::trunc(centre.y / CellSize);
    return {{(column + 0.5f) * CellSize, (row + 1.0f) * CellSize},
            fpRect(column * CellSize, (row + 1.0f) * CellSize, CellSize, CellSize)};
}

fpRect buildingRect(const ActorDefinition& building, const fpVector2& anchor) {
    const fpRect& box = building.collisionBox;
    return fpRect(anchor.x + box.x, anchor.y + box.y, box.w, box.h);
}

bool standsFirmly(const ActorObject& player) { return player.groundState != 0; }
bool inPoolOrClimbing(const ActorObject& player) { return player.poolId != 0 || player.climbing != 0; }

bool lampTooClose(PhysicsSystem& physics, const ActorDefinition& lamp, const fpVector2& anchor) {
    const float radius = lamp.sameTypeRejectionRadius;
    std::vector<PhysicalObject*> lamps;
    return physics.queryBodies(fpRect(anchor.x - radius, anchor.y - radius, 2.0f * radius, 2.0f * radius),
                               CollisionGroup::Lamps, lamps);
}

// Ground under the anchor and a free rectangle: the shared test of the standing buildings.
bool standingPlaceFree(PhysicsSystem& physics, const ActorDefinition& building, const Placement& placement) {
    return physics.testRect(placement.groundCell, GroundMask) &&
           !physics.testRect(buildingRect(building, placement.anchor), BlockingMask);
}

bool placeLamp(GameObjectSimulator& objects, ActorObject& player, const ActorDefinition& lamp,
               const Placement& placement) {
    PhysicsSystem& physics = *objects.physics();
    if (!standsFirmly(player) || inPoolOrClimbing(player) || !standingPlaceFree(physics, lamp, placement))
        return false;
    if (lampTooClose(physics, lamp, placement.anchor)) {
        objects.showPlayerMessage("lamps_too_close");
        return false;
    }
    return objects.world().spawnActorFacingRight("lamp", placement.anchor) != nullptr;
}

bool placeLadder(GameObjectSimulator& objects, ActorObject& player, const ActorDefinition& ladder,
                 const Placement& placement) {
    if (objects.physics()->testRect(buildingRect(ladder, placement.anchor), LadderBlockingMask)) return false;
    if (!objects.world().spawnActorFacingRight("ladder", placement.anchor)) return false;
    // Standing on a platform top (or just off a ladder) the player takes hold at once.
    if (player.groundState == 2) {
        const fpVector2 old = player.getPosition();
        player.climbing = 1;
        player.setPosition({placement.anchor.x, old.y});
        player.timedOffset = old - player.getPosition();
        player.timedOffsetRemaining = LadderGrabSeconds;
        player.timedOffsetDuration = LadderGrabSeconds;
    }
    return true;
}

bool placeJumpPlate(GameObjectSimulator& objects, ActorObject& player, const ActorDefinition& plate,
                    const Placement& placement) {
    if (!standsFirmly(player) || !standingPlaceFree(*objects.physics(), plate, placement)) return false;
    return objects.world().spawnActorFacingRight("jump_plate", placement.anchor) != nullptr;
}

bool placeTeleporter(GameObjectSimulator& objects, ActorObject& player, const ActorDefinition& teleporter,
                     const Placement& placement) {
    World& world = objects.world();
    if (!standsFirmly(player) || inPoolOrClimbing(player) ||
        !standingPlaceFree(*objects.physics(), teleporter, placement))
        return false;
    if (world.level && world.level->name == Level::TownName) return false;
    ActorObject* placed = world.spawnActorFacingRight("teleporter", placement.anchor);
    if (!placed) return false;
    world.storeReturnPoint(*placed);
    return true;
}

} // namespace

bool placeBuilding(GameObjectSimulator& objects, ActorObject& player, const std::string& building) {
    // Game data without the building refuses it like any other unmet requirement.
    const std::shared_ptr<const ActorDefinition> definition = findActorDefinitionPtr(building);
    if (!objects.physics() || !definition) return false;
    const Placement placement = placementOf(player);
    if (building == "lamp") return placeLamp(objects, player, *definition, placement);
    if (building == "ladder") return placeLadder(objects, player, *definition, placement);
    if (building == "jump_plate") return placeJumpPlate(objects, player, *definition, placement);
    if (building == "teleporter") return placeTeleporter(objects, player, *definition, placement);
    return false;
}

bool throwDynamite(GameObjectSimulator& objects, ActorObject& player) {
    Projectile* dynamite = objects.world().spawnProjectile("dynamite", player.center(), player.id());
    if (!dynamite) return false;
    dynamite->facing = player.facing;
    const bool up = player.aimDirection.y < 0;
    const bool down = player.aimDirection.y > 0;
    const float angle = up ? DynamiteUpAngle : DynamiteLevelAngle;
    const float speed = down ? 0.0f : DynamiteSpeed;
    fpVector2 velocity(std::cos(angle) * speed, std::sin(angle) * speed);
    if (player.facing.x < 0.0f) velocity.x = -velocity.x;
    // Thrown upwards the throw alone decides; otherwise the player's own motion carries over.
    if (!up) velocity += player.physicalObject.velocity * 0.5f;
    dynamite->physicalObject.velocity = velocity;
    return true;
}

} // namespace zor
