#include "game/definitions/TextureDefinition.h"

#include "game/definitions/DefinitionLoader.h"
#include "Framework/core/xml/XmlValues.h"

namespace zor {

template class DefinitionRegistry<TextureDefinition>;

void TextureDefinition::read(const pugi::xml_node& element) {
    useVRam = xmlAttributeBool(element, "UseVRam", useVRam);
}

DefinitionRegistry<TextureDefinition>& textureRegistry() {
    static DefinitionRegistry<TextureDefinition> registry("TextureDefinitions", "Texture", "@Name");
    return registry;
}

void loadTextureDefinitions() { textureRegistry().loadFile("Definitions/textures.xml"); }

} // namespace zor
