#include "game/definitions/MaterialDefinition.h"

#include <string>

#include <gtest/gtest.h>

namespace zor {
namespace {

struct Materials : DefinitionRegistry<MaterialDefinition> {
    explicit Materials(const std::string& materials) : DefinitionRegistry("MaterialDefinitions", "Material", "Name") {
        loadText("Definitions/materials.xml", "<MaterialDefinitions>" + materials + "</MaterialDefinitions>");
    }
};

const char* const fullMaterial = R"(<Material><Name>slate</Name>
    <DestroyedEffect>slate_break</DestroyedEffect><DestroyedSound>break_slate</DestroyedSound>
    <CrackEffect>slate_crack</CrackEffect><CrackSprite>Sprites/tiles;cracks</CrackSprite>
    <WalkEffect>slate_walk</WalkEffect><WalkSound>step_slate</WalkSound><LandEffect>slate_land</LandEffect>
    <RegenEffect>slate_regen</RegenEffect><RegenTimeSeconds>4.5</RegenTimeSeconds>
    <WeaponMaterials Note="attributes of the list are no weapon">
      <Weapon Weapon="pickaxe"><Effect>chip</Effect><NoDamageEffect>spark</NoDamageEffect>
        <DamageSound>tink</DamageSound><NoDamageSound>clonk</NoDamageSound><MineralSound>ring</MineralSound></Weapon>
      <AnyName Weapon="drill"><Effect>grind</Effect></AnyName>
    </WeaponMaterials></Material>)";

void expectFullMaterial(const MaterialDefinition& m) {
    EXPECT_EQ(m.destroyedEffect, "slate_break");
    EXPECT_EQ(m.destroyedSound, "break_slate");
    EXPECT_EQ(m.crackEffect, "slate_crack");
    EXPECT_EQ(m.crackSprite, "Sprites/tiles;cracks");
    EXPECT_EQ(m.walkEffect, "slate_walk");
    EXPECT_EQ(m.walkSound, "step_slate");
    EXPECT_EQ(m.landEffect, "slate_land");
    EXPECT_EQ(m.regenEffect, "slate_regen");
    EXPECT_EQ(m.regenTime, 4.5f);
    ASSERT_EQ(m.weaponMaterials.size(), 2u);
    const MaterialDefinition::WeaponMaterial& pickaxe = m.weaponMaterial("pickaxe");
    EXPECT_EQ(pickaxe.effect, "chip");
    EXPECT_EQ(pickaxe.noDamageEffect, "spark");
    EXPECT_EQ(pickaxe.damageSound, "tink");
    EXPECT_EQ(pickaxe.noDamageSound, "clonk");
    EXPECT_EQ(pickaxe.mineralSound, "ring");
    EXPECT_EQ(m.weaponMaterial("drill").effect, "grind");
}

TEST(MaterialDefinition, DefaultsEveryKeyAndInheritance) {
    const Materials registry(std::string("<Material><Name>bare</Name></Material>") + fullMaterial +
                             "<Material><Name>copy</Name><Template>slate</Template></Material>");
    const MaterialDefinition& bare = registry.get("bare");
    EXPECT_EQ(bare.name, "bare");
    for (const std::string* text : {&bare.destroyedEffect, &bare.destroyedSound, &bare.crackEffect, &bare.crackSprite,
                                    &bare.walkEffect, &bare.walkSound, &bare.landEffect, &bare.regenEffect})
        EXPECT_EQ(*text, "");
    EXPECT_EQ(bare.regenTime, 3.0f);
    EXPECT_TRUE(bare.weaponMaterials.empty());

    expectFullMaterial(registry.get("slate"));
    EXPECT_EQ(registry.get("copy").name, "copy");
    expectFullMaterial(registry.get("copy"));
}

TEST(MaterialDefinition, WeaponEntriesUpdateInPlace) {
    const Materials registry(std::string(fullMaterial) + R"(
        <Material><Name>shale</Name><Template>slate</Template><RegenTimeSeconds>soon</RegenTimeSeconds>
          <WeaponMaterials>
            <Weapon Weapon="pickaxe"><Effect>flake</Effect></Weapon>
            <Weapon Weapon="hammer"><Effect>thump</Effect><DamageSound>bang</DamageSound></Weapon>
            <Weapon Weapon="hammer"><DamageSound>boom</DamageSound></Weapon>
          </WeaponMaterials></Material>)");
    const MaterialDefinition& shale = registry.get("shale");
    EXPECT_EQ(shale.regenTime, 4.5f); // not a number: kept
    ASSERT_EQ(shale.weaponMaterials.size(), 3u);
    EXPECT_EQ(shale.weaponMaterial("pickaxe").effect, "flake");
    EXPECT_EQ(shale.weaponMaterial("pickaxe").noDamageSound, "clonk");
    EXPECT_EQ(shale.weaponMaterial("hammer").effect, "thump");
    EXPECT_EQ(shale.weaponMaterial("hammer").damageSound, "boom");
    EXPECT_EQ(shale.weaponMaterial("drill").effect, "grind");
    EXPECT_EQ(registry.get("slate").weaponMaterial("pickaxe").effect, "chip");

    // No entry: one shared empty record, never a missing value.
    const MaterialDefinition::WeaponMaterial& none = shale.weaponMaterial("shovel");
    EXPECT_EQ(none.effect, "");
    EXPECT_EQ(none.mineralSound, "");
    EXPECT_EQ(&none, &registry.get("slate").weaponMaterial("spoon"));
}

TEST(MaterialDefinition, WeaponEntryWithoutWeaponFailsTheMaterial) {
    try {
        Materials(R"(<Material><Name>ok</Name></Material><Material><Name>clay</Name><WeaponMaterials>
            <Weapon><Effect>x</Effect></Weapon></WeaponMaterials></Material>)");
        ADD_FAILURE() << "no error";
    } catch (const CheckReleaseError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Could not load MaterialDefinitions from file 'Definitions/materials.xml', reason: Could not read "
                  "Material definition 'clay' in file 'Definitions/materials.xml', reason: No such node "
                  "(<xmlattr>.Weapon)");
    }
}

TEST(MaterialDefinition, GlobalLookupsOfAnAbsentName) {
    EXPECT_EQ(findMaterialDefinitionOrNull("no_such_material"), nullptr);
    try {
        findMaterialDefinition("no_such_material");
        ADD_FAILURE() << "no error";
    } catch (const CheckReleaseError& error) {
        EXPECT_EQ(std::string(error.what()), "Could not find Material definition 'no_such_material'");
    }
}

} // namespace
} // namespace zor
