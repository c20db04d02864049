#include "game/definitions/EffectDefinition.h"

#include "game/definitions/DefinitionLoader.h"
#include "Framework/core/xml/XmlValues.h"

namespace zor {

template class DefinitionRegistry<EffectDefinition>;

void EffectDefinition::read(const pugi::xml_node& element) {
    sprite = xmlChildString(element, "Sprite", sprite);
    scale = xmlAttributeFloat(element.child("Sprite"), "Scale", scale);
    renderPriority = xmlChildInt(element, "RenderPriority", renderPriority);
    sound = xmlChildString(element, "Sound", sound);
    if (const pugi::xml_node lightNode = element.child("Light"))
        readVisualAttachment(lightNode, light);
}

DefinitionRegistry<EffectDefinition>& effectRegistry() {
    static DefinitionRegistry<EffectDefinition> registry("EffectDefinitions", "Effect", "Name");
    return registry;
}

EffectDefinition& getEffectDefinition(const std::string& name) { return effectRegistry().get(name); }

bool hasEffectDefinition(const std::string& name) { return effectRegistry().contains(name); }

} // namespace zor
