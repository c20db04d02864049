#pragma once
// A visual and audible effect (sprite, sound, optional light) spawned by name for
// detonations, hits, pickups, footsteps and the like. The registry key is its name.

#include <cstdint>
#include <string>

#include <pugixml.hpp>

#include "game/definitions/DefinitionRegistry.h"
#include "game/definitions/VisualAttachment.h"

namespace zor {

struct EffectDefinition {
    std::string sprite;
    float scale = 1.0f;
    std::int32_t renderPriority = 2000;
    std::string sound;
    VisualAttachment light;

    void read(const pugi::xml_node& element);
};

extern template class DefinitionRegistry<EffectDefinition>;

// Root "EffectDefinitions", element "Effect", key "Name"; file "Definitions/effects.xml".
DefinitionRegistry<EffectDefinition>& effectRegistry();

// The effect registered under `name`; throws CheckReleaseError when there is none.
EffectDefinition& getEffectDefinition(const std::string& name);
bool hasEffectDefinition(const std::string& name);

} // namespace zor
