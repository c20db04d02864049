// The definition files shipped in the game data folder load, and the names they give
// each other resolve.

#include <string>

#include <gtest/gtest.h>

#include "Framework/core/io/Files.h"
#include "game/definitions/BeamDefinition.h"
#include "game/definitions/EffectDefinition.h"
#include "game/definitions/EnvironmentDefinition.h"
#include "game/definitions/MaterialDefinition.h"
#include "game/definitions/TextureDefinition.h"
#include "tests/support/common/TempFolder.h"

namespace zor {
namespace {

TEST(ShippedDefinitions, LoadAndCrossReferencesResolve) {
    test::TempFolder user;
    test::ScopedEnv userFolder("ZOR_USER_DIR", user.path().string());
    initFileSystem("BundlePC");

    DefinitionRegistry<TextureDefinition> textures("TextureDefinitions", "Texture", "@Name");
    textures.loadFile("Definitions/textures.xml");
    EXPECT_FALSE(textures.definitions().empty());

    effectRegistry().loadFile("Definitions/effects.xml");
    beamRegistry().loadFile("Definitions/beams.xml");
    environmentRegistry().loadFile("Definitions/environments.xml");
    materialRegistry().loadFile("Definitions/materials.xml");
    EXPECT_FALSE(effectRegistry().definitions().empty());
    EXPECT_FALSE(beamRegistry().definitions().empty());
    EXPECT_FALSE(environmentRegistry().definitions().empty());
    ASSERT_FALSE(materialRegistry().definitions().empty());

    for (const auto& material : materialRegistry().definitions()) {
        for (const std::string* effect : {&material->destroyedEffect, &material->crackEffect, &material->walkEffect,
                                          &material->landEffect, &material->regenEffect})
            EXPECT_TRUE(effect->empty() || hasEffectDefinition(*effect)) << material->name << ": " << *effect;
        for (const auto& [weapon, reaction] : material->weaponMaterials)
            for (const std::string* effect : {&reaction.effect, &reaction.noDamageEffect})
                EXPECT_TRUE(effect->empty() || hasEffectDefinition(*effect))
                    << material->name << "/" << weapon << ": " << *effect;
        EXPECT_EQ(&findMaterialDefinition(material->name), materialRegistry().find(material->name).get());
    }
    for (const auto& beam : beamRegistry().definitions())
        EXPECT_GT(beam->range, 0.0f);
}

} // namespace
} // namespace zor
