#include "game/world/entity/GameObjectSetup.h"

#include "game/world/entity/ActorObject.h"
#include "game/world/entity/BehaviorMachine.h"

#include "game/definitions/MachineTables.h"

#include "Framework/core/math/Randomizer.h"

#include <cmath>
#include <utility>

namespace zor {

namespace {

// Groups a moving object wakes around it: enemies, hard enemies, rocks, items, wall
// enemies, ladders, lamps, townsfolk and supports.
constexpr std::uint32_t WakeNeighboursMask = 0x1722E;
constexpr float FacingSnap = 0.001f;
constexpr const char* PlayerLegsAnimation = "PlayerLegs";
constexpr const char* PlayerLegsPart = "legs";

fpRect collisionRectangle(const GameObjectDefinition& definition, const fpVector2& facing) {
    const fpRect box = definition.collisionBox;
    const bool turned = std::fabs(facing.x - 1.0f) >= 0.00001f || std::fabs(facing.y) >= 0.00001f;
    if (!turned || !definition.canRotate) return box;
    const float angle = facing.angle();
    fpVector2 first(box.x, box.y);
    fpVector2 second(box.x + box.w, box.y + box.h);
    first.rotate(angle);
    second.rotate(angle);
    fpRect rectangle = fpRect::fromPoints(first, second);
    if (definition.roundPosition)
        rectangle = fpRect(std::round(rectangle.x), std::round(rectangle.y), std::round(rectangle.w),
                           std::round(rectangle.h));
    return rectangle;
}

// The table may hold an empty entry for a name it knows but could not compile.
void addAnimationPart(ActorObject& actor, const std::string& animation, const std::string& part) {
    const MachineTable& table = animationMachineTable();
    const auto found = table.find(animation);
    if (found == table.end() || !found->second) return;
    actor.animationParts[part].machine = makeBehaviorMachine(found->second);
}

// A value between a quarter of `time` and all of it.
float randomStart(float time, Randomizer& random) {
    return 0.25f * time + (time - 0.25f * time) * random.nextFloat();
}

void setupActor(ActorObject& actor, Randomizer& random) {
    const ActorDefinition& definition = actor.definition();
    actor.activatesBarrels = definition.activatesBarrels;
    if (!definition.animation.empty()) addAnimationPart(actor, definition.animation, definition.animationState);
    if (definition.specialType == SpecialType::Player) addAnimationPart(actor, PlayerLegsAnimation, PlayerLegsPart);
    // Started apart so that actors of one kind do not probe, beat or call in step; the
    // order of the draws is part of a seeded game's course.
    actor.edgeTimer = 0.1f + 0.1f * random.nextFloat();
    actor.meetTimer = 0.1f + 0.4f * random.nextFloat();
    actor.randomCountdown = 0.1f + 0.4f * random.nextFloat();
    actor.heartbeatCountdown = randomStart(definition.heartbeatTime, random);
    actor.idleSoundCountdown = randomStart(definition.idleSoundTime, random);
    if (!definition.cannonName.empty()) actor.aimAngle = std::atan2(actor.facing.y, actor.facing.x);
}

} // namespace

void setupGameObject(GameObject& object, Randomizer& random) {
    const GameObjectDefinition& definition = object.gameObjectDefinition();
    PhysicalObject& physics = object.physicalObject;
    physics.linearAirResistance = definition.linearAirResistance;
    physics.quadraticAirResistance = definition.quadraticAirResistance;
    physics.groundFriction = definition.groundFriction;
    physics.wallFriction = definition.wallFriction;
    physics.bounciness = definition.bounciness;
    object.platformCollision = definition.platformCollision;

    if (std::fabs(object.facing.x) < FacingSnap) object.facing.x = 0.0f;
    if (std::fabs(object.facing.y) < FacingSnap) object.facing.y = 0.0f;
    const fpRect rectangle = collisionRectangle(definition, object.facing);
    object.roundPosition = definition.roundPosition;

    PhysicalBody body;
    body.group = definition.collisionGroup;
    body.mask = definition.collideAgainst;
    body.sensor = definition.collisionSensor;
    body.shape = new RectShape(rectangle, definition.sweepMove);
    physics.addBody(std::move(body));

    physics.awake = definition.awakeAtStart;
    physics.canSleep = definition.canSleep;
    physics.highQualityIntegration = definition.highQualityIntegration;
    physics.wakeMask = definition.wakeNeighboursOnMove ? WakeNeighboursMask : 0;

    if (object.kind() == GameObjectKind::Actor) setupActor(static_cast<ActorObject&>(object), random);
}

} // namespace zor
