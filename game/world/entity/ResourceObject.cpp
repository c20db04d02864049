#include "game/world/entity/ResourceObject.h"

#include "Framework/core/io/ByteReader.h"
#include "Framework/core/io/ByteWriter.h"

#include <utility>

namespace zor {

ResourceObject::ResourceObject(std::shared_ptr<const ResourceDefinition> definition)
    : GameObject(definition, GameObjectKind::Resource),
      remainingLifeTime(definition->lifetime),
      m_definition(std::move(definition)) {}

void ResourceObject::save(ByteWriter& writer, StringTableDynamic& names) const {
    GameObject::save(writer, names);
    contents.write(writer, names);
    writer.writeFloat(remainingLifeTime);
}

void ResourceObject::load(ByteReader& reader, const StringTable& names) {
    GameObject::load(reader, names);
    if (reader.overflow()) return;
    contents.read(reader, names);
    if (reader.overflow()) return;
    reader.readFloat(remainingLifeTime);
}

} // namespace zor
