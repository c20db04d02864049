#include "game/world/entity/GameObject.h"

#include "Framework/core/io/ByteReader.h"
#include "Framework/core/io/ByteWriter.h"

#include <cassert>
#include <cmath>
#include <utility>

namespace zor {

GameObject::GameObject(std::shared_ptr<const GameObjectDefinition> definition, GameObjectKind kind)
    : Entity(EntityType::GameObject),
      beamsEnabled(definition->beamsEnabled),
      m_kind(kind),
      m_definition(std::move(definition)) {
    assert(m_definition);
    physicalObject.ownerEntity = this;
}

void GameObject::replaceGameObjectDefinition(std::shared_ptr<const GameObjectDefinition> definition) {
    assert(definition);
    m_definition = std::move(definition);
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

fpVector2 GameObject::orientOffset(const fpVector2& offset) const {
    if (gameObjectDefinition().canRotate) {
        const float angle = std::atan2(facing.y, facing.x);
        const float c = std::cos(angle);
        const float s = std::sin(angle);
        return {offset.x * c - offset.y * s, offset.x * s + offset.y * c};
    }
    return {facing.x < 0.0f ? -offset.x : offset.x, offset.y};
}

fpVector2 GameObject::center() const {
    const fpRect bounds = physicalObject.bodies().front().getBounds();
    return {bounds.x + bounds.w / 2.0f, bounds.y + bounds.h / 2.0f};
}

void GameObject::save(ByteWriter& writer, StringTableDynamic& names) const {
    Entity::save(writer, names);
    if (m_definition->canRotate) {
        writer.writeU8(std::uint8_t(FacingCode::Angle));
        writer.writeFloat(std::atan2(facing.y, facing.x));
    } else if (m_definition->autoFacing) {
        writer.writeU8(std::uint8_t(FacingCode::Unchanged));
    } else {
        writer.writeU8(std::uint8_t(facing.x >= 0.0f ? FacingCode::Right : FacingCode::Left));
    }
}

void GameObject::load(ByteReader& reader, const StringTable& names) {
    Entity::load(reader, names);
    if (reader.overflow()) return;
    switch (FacingCode(reader.readU8())) {
    case FacingCode::Angle: {
        float angle = 0.0f;
        reader.readFloat(angle);
        if (reader.overflow()) return;
        if (!std::isfinite(angle)) {
            reader.setOverflow();
            return;
        }
        facing = fpVector2::fromAngle(angle);
        return;
    }
    case FacingCode::Right:
        facing = {1.0f, 0.0f};
        return;
    case FacingCode::Left:
        facing = {-1.0f, 0.0f};
        return;
    default:
        return;
    }
}

} // namespace zor
