#pragma once
// A character who talks in conversations: portrait sprite, talk sound and speed. Read from
// the property tree of its element.

#include <memory>
#include <string>

#include <boost/property_tree/ptree_fwd.hpp>

#include "Framework/core/math/Vector.h"
#include "game/definitions/DefinitionRegistry.h"

namespace zor {

struct CharacterDefinition {
    std::string name;
    std::string localizedName; // localization id
    std::string sprite;        // sprite reference
    fpVector2 spriteOffset;
    std::string talkSound;     // sound cue
    float talkSpeed = 0.0f;

    // "Name", "LocalizedName", "Sprite" and "SpriteOffset" are required; an absent or
    // unreadable optional key keeps its value.
    void read(const boost::property_tree::ptree& definition);
};

extern template class DefinitionRegistry<CharacterDefinition>;

// Root "Characters", element "Character", key "Name"; file "Definitions/characters.xml".
DefinitionRegistry<CharacterDefinition>& characterRegistry();

// Throws CheckReleaseError for an unregistered name.
CharacterDefinition& getCharacterDefinition(const std::string& name);
// Null when the name is not registered.
std::shared_ptr<CharacterDefinition> findCharacterDefinition(const std::string& name);

} // namespace zor
