#include "game/definitions/EnvironmentDefinition.h"

#include "game/definitions/DefinitionLoader.h"
#include "Framework/core/xml/XmlValues.h"

namespace zor {

template class DefinitionRegistry<EnvironmentDefinition>;

void EnvironmentDefinition::read(const pugi::xml_node& element) {
    const pugi::xml_node bloom = element.child("Bloom");
    if (!bloom)
        return;
    preThreshold = xmlChildFloat(bloom, "PreThreshold", preThreshold);
    power = xmlChildFloat(bloom, "Power", power);
    postThreshold = xmlChildFloat(bloom, "PostThreshold", postThreshold);
    blurSize = xmlChildFloat(bloom, "BlurSize", blurSize);
    sourceFactor = xmlChildFloat(bloom, "SourceFactor", sourceFactor);
    sourceOverBurn = xmlChildFloat(bloom, "SourceOverBurn", sourceOverBurn);
    targetConstantFactor = xmlChildFloat(bloom, "TargetConstantFactor", targetConstantFactor);
    targetInverseSourceFactor = xmlChildFloat(bloom, "TargetInverseSourceFactor", targetInverseSourceFactor);
}

DefinitionRegistry<EnvironmentDefinition>& environmentRegistry() {
    static DefinitionRegistry<EnvironmentDefinition> registry("EnvironmentDefinitions", "Environment", "Name");
    return registry;
}

} // namespace zor
