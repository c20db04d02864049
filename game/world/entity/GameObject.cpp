#include "game/world/entity/GameObject.h"

#include <cmath>
#include <utility>

namespace zor {

namespace {

// Groups a moving object wakes around it: enemies, hard enemies, rocks, items, wall
// enemies, ladders, lamps, townsfolk and supports.
constexpr std::uint32_t WakeNeighboursMask = 0x1722E;

float facingAngle(const fpVector2& facing) {
    const float angle = std::atan2(facing.y, facing.x);
    return angle < 0.0f ? angle + 6.2831855f : angle;
}

fpRect collisionRectangle(const GameObjectDefinition& definition, const fpVector2& facing) {
    const fpRect box = definition.collisionBox;
    const bool turned = std::fabs(facing.x - 1.0f) >= 0.00001f || std::fabs(facing.y) >= 0.00001f;
    if (!turned || !definition.canRotate) return box;
    const float angle = facingAngle(facing);
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

} // namespace

GameObject::GameObject(std::shared_ptr<const GameObjectDefinition> definition, GameObjectKind kind)
    : Entity(EntityType::GameObject),
      beamsEnabled(definition->beamsEnabled),
      m_kind(kind),
      m_definition(std::move(definition)) {
    physicalObject.ownerEntity = this;
}

void GameObject::reset() {
    timedOffset = fpVector2();
    timedOffsetRemaining = 0.0f;
    timedOffsetDuration = 0.0f;
}

fpVector2 GameObject::decayingOffset() const {
    if (timedOffsetRemaining <= 0.0f || timedOffsetDuration <= 0.0f) return fpVector2();
    return -timedOffset * (timedOffsetRemaining / timedOffsetDuration);
}

fpVector2 GameObject::center() const {
    const fpRect bounds = physicalObject.bodies().front().getBounds();
    return {bounds.x + bounds.w / 2.0f, bounds.y + bounds.h / 2.0f};
}

ActorObject::ActorObject(std::shared_ptr<const ActorDefinition> definition)
    : GameObject(definition, GameObjectKind::Actor),
      hitPoints(definition->hitPoints),
      constantSound(definition->constantSound),
      m_definition(std::move(definition)) {}

void ActorObject::reset() {
    GameObject::reset();
    if (m_definition->specialType == SpecialType::Pool) water = m_definition->waterCapacity;
}

Projectile::Projectile(std::shared_ptr<const ProjectileDefinition> definition)
    : GameObject(definition, GameObjectKind::Projectile),
      fuzeTime(definition->timeFuze),
      m_definition(std::move(definition)) {}

ResourceObject::ResourceObject(std::shared_ptr<const ResourceDefinition> definition)
    : GameObject(definition, GameObjectKind::Resource),
      remainingLifeTime(definition->lifetime),
      m_definition(std::move(definition)) {}

void setupGameObject(GameObject& object) {
    const GameObjectDefinition& definition = object.gameObjectDefinition();
    PhysicalObject& physics = object.physicalObject;
    physics.linearAirResistance = definition.linearAirResistance;
    physics.quadraticAirResistance = definition.quadraticAirResistance;
    physics.groundFriction = definition.groundFriction;
    physics.wallFriction = definition.wallFriction;
    physics.bounciness = definition.bounciness;
    object.platformCollision = definition.platformCollision;

    if (std::fabs(object.facing.x) < 0.001f) object.facing.x = 0.0f;
    if (std::fabs(object.facing.y) < 0.001f) object.facing.y = 0.0f;
    object.roundPosition = definition.roundPosition;

    PhysicalBody body;
    body.group = definition.collisionGroup;
    body.mask = definition.collideAgainst;
    body.sensor = definition.collisionSensor;
    body.shape = new RectShape(collisionRectangle(definition, object.facing), definition.sweepMove);
    physics.addBody(std::move(body));

    physics.awake = definition.awakeAtStart;
    physics.canSleep = definition.canSleep;
    physics.highQualityIntegration = definition.highQualityIntegration;
    physics.wakeMask = definition.wakeNeighboursOnMove ? WakeNeighboursMask : 0;
}

} // namespace zor
