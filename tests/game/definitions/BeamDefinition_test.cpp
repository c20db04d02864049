#include "game/definitions/BeamDefinition.h"

#include <string>

#include <gtest/gtest.h>

namespace zor {
namespace {

struct Beams : DefinitionRegistry<BeamDefinition> {
    explicit Beams(const std::string& beams) : DefinitionRegistry("BeamDefinitions", "Beam", "Name") {
        loadText("Definitions/beams.xml", "<BeamDefinitions>" + beams + "</BeamDefinitions>");
    }
};

TEST(BeamDefinition, Defaults) {
    const Beams registry("<Beam><Name>bare</Name></Beam>");
    const BeamDefinition& b = registry.get("bare");
    EXPECT_EQ(b.type, BeamType::Lightning);
    EXPECT_TRUE(b.updatePosition);
    EXPECT_TRUE(b.updateLength);
    EXPECT_FALSE(b.physicalized);
    EXPECT_EQ(b.range, 200.0f);
    EXPECT_EQ(b.angularVelocity, 0.0f);
    EXPECT_EQ(b.lifetime, 3.4028235e38f); // practically forever
    EXPECT_EQ(b.fadeTime, 0.2f);
    EXPECT_EQ(b.fadeInterpolation, CurveType::Linear);
    EXPECT_EQ(b.damage.tier, 666);
    EXPECT_EQ(b.damageWidth, 20.0f);
    EXPECT_EQ(b.damageInterval, 0.2f);
    EXPECT_EQ(b.stunTime, 0.0f);
    EXPECT_EQ(b.collideAgainst, 0x20017u); // player, enemies, hard enemies, tiles, boss
    EXPECT_EQ(b.stopAgainst, 0x10u);       // tiles
    EXPECT_TRUE(b.isSensor);
    EXPECT_EQ(b.lightColor, Color3(1, 1, 1));
    EXPECT_EQ(b.lightWidth, 80.0f);
    EXPECT_EQ(b.laserColor, Color3(1, 1, 1));
    EXPECT_EQ(b.laserWidth, 20.0f);
    EXPECT_EQ(b.renderPriority, 1800);
    EXPECT_EQ(b.segmentOverlap, 0.0f);
    EXPECT_EQ(b.textures, "");
    EXPECT_EQ(b.endSprite, "");
    EXPECT_EQ(b.constantSound, "");
    EXPECT_EQ(b.oneShotSound, "");
    EXPECT_EQ(b.disableUpgrade, "");
}

const char* const fullBeam = R"(<Beam><Name>full</Name>
    <Type>laser</Type><CollideAgainst>enemies;beams</CollideAgainst><StopAgainst>rocks</StopAgainst>
    <Damage Amount="5" Tier="2" KnockbackMultiplier="0.5"/>
    <UpdatePosition>0</UpdatePosition><UpdateLength>n</UpdateLength><Physicalized>y</Physicalized>
    <Range>350</Range><AngularVelocity>1.25</AngularVelocity><LifeTime>4</LifeTime><FadeTime>0.5</FadeTime>
    <FadeInterpolation>SmoothStep</FadeInterpolation><DamageWidth>12</DamageWidth><DamageInterval>0.125</DamageInterval>
    <StunTime>1.5</StunTime><IsSensor>false</IsSensor><LightColor>0.5;0.25;1</LightColor><LightWidth>64</LightWidth>
    <LaserColor>1;0;0.5</LaserColor><LaserWidth>6</LaserWidth><RenderPriority>1900</RenderPriority>
    <SegmentOverlap>2.5</SegmentOverlap><Textures>Textures/beam.png</Textures><EndSprite>Sprites/fx;end</EndSprite>
    <ConstantSound>hum</ConstantSound><OneShotSound>zap</OneShotSound><DisableUpgrade>rubber_soles</DisableUpgrade>
    </Beam>)";

void expectFullBeam(const BeamDefinition& b) {
    EXPECT_EQ(b.type, BeamType::Laser);
    EXPECT_EQ(b.collideAgainst, 0x40002u);
    EXPECT_EQ(b.stopAgainst, 0x8u);
    EXPECT_EQ(b.damage.amount, 5.0f);
    EXPECT_EQ(b.damage.tier, 2);
    EXPECT_EQ(b.damage.knockbackMultiplier, 0.5f);
    EXPECT_FALSE(b.updatePosition);
    EXPECT_FALSE(b.updateLength);
    EXPECT_TRUE(b.physicalized);
    EXPECT_EQ(b.range, 350.0f);
    EXPECT_EQ(b.angularVelocity, 1.25f);
    EXPECT_EQ(b.lifetime, 4.0f);
    EXPECT_EQ(b.fadeTime, 0.5f);
    EXPECT_EQ(b.fadeInterpolation, CurveType::SmoothStep);
    EXPECT_EQ(b.damageWidth, 12.0f);
    EXPECT_EQ(b.damageInterval, 0.125f);
    EXPECT_EQ(b.stunTime, 1.5f);
    EXPECT_FALSE(b.isSensor);
    EXPECT_EQ(b.lightColor, Color3(0.5f, 0.25f, 1.0f));
    EXPECT_EQ(b.lightWidth, 64.0f);
    EXPECT_EQ(b.laserColor, Color3(1.0f, 0.0f, 0.5f));
    EXPECT_EQ(b.laserWidth, 6.0f);
    EXPECT_EQ(b.renderPriority, 1900);
    EXPECT_EQ(b.segmentOverlap, 2.5f);
    EXPECT_EQ(b.textures, "Textures/beam.png");
    EXPECT_EQ(b.endSprite, "Sprites/fx;end");
    EXPECT_EQ(b.constantSound, "hum");
    EXPECT_EQ(b.oneShotSound, "zap");
    EXPECT_EQ(b.disableUpgrade, "rubber_soles");
}

TEST(BeamDefinition, EveryKeyAndItsInheritance) {
    const Beams registry(std::string(fullBeam) + "<Beam><Name>copy</Name><Template>full</Template></Beam>");
    expectFullBeam(registry.get("full"));
    expectFullBeam(registry.get("copy"));
}

TEST(BeamDefinition, TypeAndCurveNames) {
    const Beams registry(R"(
        <Beam><Name>arc</Name></Beam>
        <Beam><Name>ray</Name><Type>laser</Type></Beam>
        <Beam><Name>shouted</Name><Template>arc</Template><Type>Laser</Type></Beam>
        <Beam><Name>unknown</Name><Template>ray</Template><Type>plasma</Type></Beam>
        <Beam><Name>back</Name><Template>ray</Template><Type>lightning</Type></Beam>
        <Beam><Name>odd_curve</Name><FadeInterpolation>smoothstep</FadeInterpolation></Beam>
        <Beam><Name>inv</Name><FadeInterpolation>InvCubic</FadeInterpolation></Beam>)");
    EXPECT_EQ(registry.get("arc").type, BeamType::Lightning);
    EXPECT_EQ(registry.get("ray").type, BeamType::Laser);
    EXPECT_EQ(registry.get("shouted").type, BeamType::Lightning);
    EXPECT_EQ(registry.get("unknown").type, BeamType::Laser);
    EXPECT_EQ(registry.get("back").type, BeamType::Lightning);
    EXPECT_EQ(registry.get("odd_curve").fadeInterpolation, CurveType::Zero);
    EXPECT_EQ(registry.get("inv").fadeInterpolation, CurveType::InvCubic);
}

TEST(BeamDefinition, MalformedColourFailsTheBeam) {
    for (const char* key : {"<LightColor>1;1</LightColor>", "<LaserColor>1; 1; 1</LaserColor>"}) {
        try {
            Beams(std::string("<Beam><Name>glare</Name>") + key + "</Beam>");
            ADD_FAILURE() << key;
        } catch (const CheckReleaseError& error) {
            EXPECT_EQ(std::string(error.what()),
                      "Could not load BeamDefinitions from file 'Definitions/beams.xml', reason: Could not read Beam "
                      "definition 'glare' in file 'Definitions/beams.xml', reason: bad lexical cast: source type "
                      "value could not be interpreted as target")
                << key;
        }
    }
}

TEST(BeamDefinition, GlobalLookupOfAnAbsentNameIsNull) { EXPECT_EQ(findBeamDefinition("no_such_beam"), nullptr); }

} // namespace
} // namespace zor
