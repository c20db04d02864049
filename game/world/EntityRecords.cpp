#include "game/world/EntityRecords.h"

#include "game/definitions/ActorDefinition.h"
#include "game/definitions/ResourceDefinition.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/entity/GameObjectSetup.h"
#include "game/world/entity/ResourceObject.h"
#include "game/world/progress/RecordLimits.h"

#include "Framework/core/io/ByteReader.h"
#include "Framework/core/io/ByteWriter.h"
#include "Framework/core/io/StringTable.h"

#include <memory>

namespace zor {

namespace {

bool stored(const Entity& entity) {
    if (entity.type() != EntityType::GameObject) return false;
    const GameObjectKind kind = static_cast<const GameObject&>(entity).kind();
    return kind == GameObjectKind::Actor || kind == GameObjectKind::Resource;
}

// A fresh, reset object of the named definition, or null when none is registered.
std::unique_ptr<GameObject> make(std::uint8_t kind, const std::string& name) {
    std::unique_ptr<GameObject> object;
    if (kind == std::uint8_t(GameObjectKind::Actor)) {
        if (auto definition = findActorDefinitionPtr(name)) object = std::make_unique<ActorObject>(definition);
    } else if (kind == std::uint8_t(GameObjectKind::Resource)) {
        if (auto definition = findResourceDefinitionPtr(name)) object = std::make_unique<ResourceObject>(definition);
    }
    if (object) object->reset();
    return object;
}

} // namespace

void writeEntities(const std::vector<Entity*>& entities, std::vector<std::uint8_t>& record,
                   StringTableDynamic& names) {
    std::size_t count = 0;
    for (const Entity* entity : entities) count += stored(*entity) ? 1 : 0;
    ByteWriter writer(256);
    writer.writeU16(std::uint16_t(count));
    for (const Entity* entity : entities) {
        if (!stored(*entity)) continue;
        const auto& object = static_cast<const GameObject&>(*entity);
        writer.writeU8(std::uint8_t(EntityType::GameObject));
        writer.writeU8(std::uint8_t(object.kind()));
        writer.writeU16(recordNameIndex(names, object.gameObjectDefinition().name));
        object.save(writer, names);
    }
    record.assign(writer.data().get(), writer.data().get() + writer.size());
}

void readEntities(ByteReader& reader, const StringTable& names, Randomizer& random, std::vector<GameObject*>& out) {
    const std::uint16_t count = reader.readU16();
    for (std::uint16_t i = 0; i < count && !reader.overflow(); ++i) {
        const std::uint8_t type = reader.readU8();
        const std::uint8_t kind = reader.readU8();
        const std::string& name = names.at(reader.readU16());
        if (reader.overflow()) return;
        std::unique_ptr<GameObject> object = type == std::uint8_t(EntityType::GameObject) ? make(kind, name) : nullptr;
        if (!object) {
            reader.setOverflow();
            return;
        }
        object->load(reader, names);
        if (reader.overflow()) return;
        setupGameObject(*object, random);
        out.push_back(object.release());
    }
}

} // namespace zor
