#pragma once
// The bloom settings of an area, chosen by a level's "Environment" name and used by the
// renderer. The registry key is its name.

#include <pugixml.hpp>

#include "game/definitions/DefinitionRegistry.h"

namespace zor {

struct EnvironmentDefinition {
    float preThreshold = 0.0f;
    float power = 4.0f;
    float postThreshold = 0.5f;
    float blurSize = 10.0f;
    float sourceFactor = 1.0f;
    float sourceOverBurn = 0.0f;
    float targetConstantFactor = 0.0f;
    float targetInverseSourceFactor = 1.0f;

    // Reads the children of the "Bloom" element; without one nothing changes.
    void read(const pugi::xml_node& element);
};

extern template class DefinitionRegistry<EnvironmentDefinition>;

// Root "EnvironmentDefinitions", element "Environment", key "Name"; file
// "Definitions/environments.xml". The renderer uses the must-find lookup (get).
DefinitionRegistry<EnvironmentDefinition>& environmentRegistry();

} // namespace zor
