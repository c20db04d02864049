#pragma once
// Per-texture options by texture name, from "Definitions/textures.xml"; the only
// definitions read during start-up.

#include <pugixml.hpp>

#include "game/definitions/DefinitionRegistry.h"

namespace zor {

struct TextureDefinition {
    bool useVRam = false;

    // Reads the attribute "UseVRam" of a Texture element; absent keeps the value.
    void read(const pugi::xml_node& element);
};

extern template class DefinitionRegistry<TextureDefinition>;

// Root "TextureDefinitions", element "Texture", key "@Name".
DefinitionRegistry<TextureDefinition>& textureRegistry();

// Loads "Definitions/textures.xml" into the texture registry; called once by start-up on
// the main thread. Throws CheckReleaseError.
void loadTextureDefinitions();

} // namespace zor
