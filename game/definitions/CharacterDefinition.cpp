#include "game/definitions/CharacterDefinition.h"

#include "game/definitions/DefinitionLoader.h"

namespace zor {

template class DefinitionRegistry<CharacterDefinition>;

void CharacterDefinition::read(const boost::property_tree::ptree& definition) {
    name = definition.get<std::string>("Name");
    localizedName = definition.get<std::string>("LocalizedName");
    sprite = definition.get<std::string>("Sprite");
    spriteOffset = definition.get<fpVector2>("SpriteOffset");
    talkSound = definition.get<std::string>("TalkSound", talkSound);
    talkSpeed = definition.get<float>("TalkSpeed", talkSpeed);
}

DefinitionRegistry<CharacterDefinition>& characterRegistry() {
    static DefinitionRegistry<CharacterDefinition> registry("Characters", "Character", "Name");
    return registry;
}

CharacterDefinition& getCharacterDefinition(const std::string& name) { return characterRegistry().get(name); }

std::shared_ptr<CharacterDefinition> findCharacterDefinition(const std::string& name) {
    return characterRegistry().find(name);
}

} // namespace zor
