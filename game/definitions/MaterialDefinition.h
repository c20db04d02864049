#pragma once
// The reactions of one tile material: effects, sounds, regeneration, and per weapon what
// a hit does. Read from the property tree of its element.

#include <map>
#include <memory>
#include <string>

#include <boost/property_tree/ptree_fwd.hpp>

#include "game/definitions/DefinitionRegistry.h"

namespace zor {

struct MaterialDefinition {
    // What a hit by one weapon does: effect definition names and sound cues.
    struct WeaponMaterial {
        std::string effect;
        std::string noDamageEffect;
        std::string damageSound;
        std::string noDamageSound;
        std::string mineralSound;
    };

    std::string name;
    std::string destroyedEffect;
    std::string destroyedSound;
    std::string crackEffect;
    std::string crackSprite;
    std::string walkEffect;
    std::string walkSound;
    std::string landEffect;
    std::string regenEffect;
    float regenTime = 3.0f; // seconds
    std::map<std::string, WeaponMaterial> weaponMaterials;

    // Every absent key keeps its value; a "WeaponMaterials" child without the attribute
    // "Weapon" throws the property tree's missing-path error.
    void read(const boost::property_tree::ptree& definition);

    // The entry for `weapon`, or one shared empty entry when the material has none.
    const WeaponMaterial& weaponMaterial(const std::string& weapon) const;
};

extern template class DefinitionRegistry<MaterialDefinition>;

// Root "MaterialDefinitions", element "Material", key "Name"; file "Definitions/materials.xml".
DefinitionRegistry<MaterialDefinition>& materialRegistry();

// Throws CheckReleaseError when no material has that name.
MaterialDefinition& findMaterialDefinition(const std::string& name);
std::shared_ptr<MaterialDefinition> findMaterialDefinitionOrNull(const std::string& name);

} // namespace zor
