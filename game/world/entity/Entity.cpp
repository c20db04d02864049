#include "game/world/entity/Entity.h"

#include "Framework/core/io/ByteReader.h"
#include "Framework/core/io/ByteWriter.h"

#include <cmath>

namespace zor {

namespace {

std::int32_t g_lastId = 0;

} // namespace

Entity::Entity(EntityType type) : m_type(type), m_id(++g_lastId) {}

Entity::~Entity() = default;

std::int32_t Entity::lastIssuedId() {
    return g_lastId;
}

void Entity::load(ByteReader& reader, const StringTable&) {
    fpVector2 position;
    reader.readFloat(position.x);
    reader.readFloat(position.y);
    // A position that is not a number would reach the physics; the record fails instead.
    if (!reader.overflow() && !(std::isfinite(position.x) && std::isfinite(position.y))) reader.setOverflow();
    setPosition(reader.overflow() ? fpVector2() : position);
}

void Entity::save(ByteWriter& writer, StringTableDynamic&) const {
    const fpVector2 position = getPosition();
    writer.writeFloat(position.x);
    writer.writeFloat(position.y);
}

} // namespace zor
