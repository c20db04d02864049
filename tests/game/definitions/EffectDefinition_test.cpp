#include "game/definitions/EffectDefinition.h"

#include <string>

#include <gtest/gtest.h>

namespace zor {
namespace {

struct Effects : DefinitionRegistry<EffectDefinition> {
    explicit Effects(const std::string& effects) : DefinitionRegistry("EffectDefinitions", "Effect", "Name") {
        loadText("Definitions/effects.xml", "<EffectDefinitions>" + effects + "</EffectDefinitions>");
    }
};

void expectFullEffect(const EffectDefinition& e) {
    EXPECT_EQ(e.sprite, "Sprites/effects;burst");
    EXPECT_EQ(e.scale, 0.75f);
    EXPECT_EQ(e.renderPriority, 2200);
    EXPECT_EQ(e.sound, "burst_pop");
    EXPECT_EQ(e.light.sprite, "Sprites/lights;flash");
    EXPECT_EQ(e.light.color, Color3(1.0f, 0.5f, 0.25f));
    EXPECT_FALSE(e.light.loop);
}

TEST(EffectDefinition, DefaultsEveryKeyAndInheritance) {
    const Effects registry(R"(
        <Effect><Name>bare</Name></Effect>
        <Effect><Name>burst</Name><Sprite Scale="0.75">Sprites/effects;burst</Sprite><RenderPriority>2200</RenderPriority>
          <Sound>burst_pop</Sound><Light Sprite="Sprites/lights;flash" Color="1;0.5;0.25" Loop="n"/></Effect>
        <Effect><Name>echo</Name><Template>burst</Template></Effect>
        <Effect><Name>resprite</Name><Template>burst</Template><Sprite>Sprites/effects;other</Sprite></Effect>
        <Effect><Name>unscaled</Name><Sprite>Sprites/effects;plain</Sprite></Effect>)");

    const EffectDefinition& bare = registry.get("bare");
    EXPECT_EQ(bare.sprite, "");
    EXPECT_EQ(bare.scale, 1.0f);
    EXPECT_EQ(bare.renderPriority, 2000);
    EXPECT_EQ(bare.sound, "");
    EXPECT_EQ(bare.light.sprite, "");
    EXPECT_EQ(bare.light.scale, 1.0f);

    expectFullEffect(registry.get("burst"));
    expectFullEffect(registry.get("echo"));
    EXPECT_EQ(registry.get("resprite").sprite, "Sprites/effects;other");
    EXPECT_EQ(registry.get("resprite").scale, 0.75f);
    EXPECT_EQ(registry.get("unscaled").scale, 1.0f);
}

TEST(EffectDefinition, MalformedLightColourFailsTheEffect) {
    try {
        Effects(R"(<Effect><Name>ok</Name></Effect><Effect><Name>glow</Name><Light Color="1, 0.5, 0"/></Effect>)");
        ADD_FAILURE() << "no error";
    } catch (const CheckReleaseError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Could not load EffectDefinitions from file 'Definitions/effects.xml', reason: Could not read Effect "
                  "definition 'glow' in file 'Definitions/effects.xml', reason: bad lexical cast: source type value "
                  "could not be interpreted as target");
    }
}

TEST(EffectDefinition, GlobalLookupsOfAnAbsentName) {
    EXPECT_FALSE(hasEffectDefinition("no_such_effect"));
    try {
        getEffectDefinition("no_such_effect");
        ADD_FAILURE() << "no error";
    } catch (const CheckReleaseError& error) {
        EXPECT_EQ(std::string(error.what()), "Could not find Effect definition 'no_such_effect'");
    }
}

} // namespace
} // namespace zor
