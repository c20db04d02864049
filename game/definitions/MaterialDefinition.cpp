#include "game/definitions/MaterialDefinition.h"

#include "game/definitions/DefinitionLoader.h"

namespace zor {

template class DefinitionRegistry<MaterialDefinition>;

namespace {

void readString(const boost::property_tree::ptree& tree, const char* path, std::string& value) {
    value = tree.get<std::string>(path, value);
}

bool isElementKey(const std::string& key) { return key.compare(0, 4, "<xml") != 0; }

} // namespace

void MaterialDefinition::read(const boost::property_tree::ptree& definition) {
    readString(definition, "Name", name);
    readString(definition, "DestroyedEffect", destroyedEffect);
    readString(definition, "DestroyedSound", destroyedSound);
    readString(definition, "CrackEffect", crackEffect);
    readString(definition, "CrackSprite", crackSprite);
    readString(definition, "WalkEffect", walkEffect);
    readString(definition, "WalkSound", walkSound);
    readString(definition, "LandEffect", landEffect);
    readString(definition, "RegenEffect", regenEffect);
    if (const boost::optional<float> seconds = definition.get_optional<float>("RegenTimeSeconds"))
        regenTime = *seconds;
    const auto weapons = definition.get_child_optional("WeaponMaterials");
    if (!weapons)
        return;
    for (const auto& [key, child] : *weapons) {
        if (!isElementKey(key))
            continue;
        // Children naming the same weapon (or the template's) update one entry in place.
        WeaponMaterial& entry = weaponMaterials[child.get<std::string>("<xmlattr>.Weapon")];
        readString(child, "Effect", entry.effect);
        readString(child, "NoDamageEffect", entry.noDamageEffect);
        readString(child, "DamageSound", entry.damageSound);
        readString(child, "NoDamageSound", entry.noDamageSound);
        readString(child, "MineralSound", entry.mineralSound);
    }
}

const MaterialDefinition::WeaponMaterial& MaterialDefinition::weaponMaterial(const std::string& weapon) const {
    static const WeaponMaterial none;
    auto found = weaponMaterials.find(weapon);
    return found == weaponMaterials.end() ? none : found->second;
}

DefinitionRegistry<MaterialDefinition>& materialRegistry() {
    static DefinitionRegistry<MaterialDefinition> registry("MaterialDefinitions", "Material", "Name");
    return registry;
}

MaterialDefinition& findMaterialDefinition(const std::string& name) { return materialRegistry().get(name); }

std::shared_ptr<MaterialDefinition> findMaterialDefinitionOrNull(const std::string& name) {
    return materialRegistry().find(name);
}

} // namespace zor
