#include <limits>
#include <string>

#include <boost/lexical_cast.hpp>
#include <gtest/gtest.h>

#include "game/definitions/DamageData.h"
#include "game/definitions/DefinitionLoader.h"
#include "game/definitions/GameObjectDefinition.h"
#include "game/definitions/VisualAttachment.h"

namespace zor {
namespace {

pugi::xml_node parse(pugi::xml_document& document, const char* text) {
    EXPECT_TRUE(document.load_string(text)) << text;
    return document.document_element();
}

TEST(DamageData, Defaults) {
    const DamageData damage;
    EXPECT_EQ(damage.amount, 0.0f);
    EXPECT_EQ(damage.tier, 666);
    EXPECT_EQ(damage.tileReduction, 0);
    EXPECT_EQ(damage.enemyReduction, 0.0f);
    EXPECT_EQ(damage.enemyAmount, 0.0f);
    EXPECT_EQ(damage.totalHits, 0.0f);
    EXPECT_EQ(damage.sourceObjectId, 0);
    EXPECT_FALSE(damage.ignoreDepth);
    EXPECT_EQ(damage.enemyInvulnerabilityCooldown, 0.0f);
    EXPECT_EQ(damage.playerInvulnerabilityCooldown, 2.0f);
    EXPECT_EQ(damage.knockbackMultiplier, 1.0f);
    EXPECT_EQ(damage.type, DamageType::Normal);
    EXPECT_FALSE(damage.contactOnly);
}

TEST(DamageData, ReadsEveryAttributeOfTheNamedChild) {
    pugi::xml_document document;
    const pugi::xml_node weapon = parse(document, R"(<Weapon>
        <ChargeDamage Amount="1"/>
        <AttackDamage Amount="12.5" Tier="3" TileReduction="2" EnemyReduction="1.5" EnemyAmount="4"
            TotalHits="3" IgnoreDepth="yes" InvulnerabilityEnemyCooldown="0.25"
            InvulnerabilityPlayerCooldown="0.75" KnockbackMultiplier="2.5" Type="wood_crush" Filter="contact"/>
    </Weapon>)");
    DamageData damage;
    damage.sourceObjectId = 42;
    damage.read(weapon, "AttackDamage");
    EXPECT_EQ(damage.amount, 12.5f);
    EXPECT_EQ(damage.tier, 3);
    EXPECT_EQ(damage.tileReduction, 2);
    EXPECT_EQ(damage.enemyReduction, 1.5f);
    EXPECT_EQ(damage.enemyAmount, 4.0f);
    EXPECT_EQ(damage.totalHits, 3.0f);
    EXPECT_EQ(damage.sourceObjectId, 42); // never from data
    EXPECT_TRUE(damage.ignoreDepth);
    EXPECT_EQ(damage.enemyInvulnerabilityCooldown, 0.25f);
    EXPECT_EQ(damage.playerInvulnerabilityCooldown, 0.75f);
    EXPECT_EQ(damage.knockbackMultiplier, 2.5f);
    EXPECT_EQ(damage.type, DamageType::WoodCrush);
    EXPECT_TRUE(damage.contactOnly);

    // Absent child: nothing changes; a child with one attribute changes only that field.
    const DamageData before = damage;
    damage.read(weapon, "Missing");
    EXPECT_EQ(damage.amount, before.amount);
    EXPECT_EQ(damage.type, before.type);
    pugi::xml_document tierOnly;
    damage.read(parse(tierOnly, R"(<W><D Tier="9"/></W>)"), "D");
    EXPECT_EQ(damage.tier, 9);
    EXPECT_EQ(damage.amount, 12.5f);
    EXPECT_EQ(damage.playerInvulnerabilityCooldown, 0.75f);
    EXPECT_EQ(damage.type, DamageType::WoodCrush);
    EXPECT_TRUE(damage.contactOnly);
    EXPECT_TRUE(damage.ignoreDepth);
}

TEST(DamageData, FilterAndFlagTexts) {
    const struct {
        const char* attributes;
        bool contactOnly;
        bool ignoreDepth;
        DamageType type;
    } cases[] = {
        {R"(Filter="contact")", true, true, DamageType::Crush},
        {R"(Filter="all")", false, true, DamageType::Crush},
        {R"(Filter="Contact")", false, true, DamageType::Crush},
        {R"(Filter="")", false, true, DamageType::Crush},
        {R"(IgnoreDepth="y")", true, true, DamageType::Crush},
        {R"(IgnoreDepth="no")", true, false, DamageType::Crush},
        {R"(IgnoreDepth="0")", true, false, DamageType::Crush},
        {R"(Type="")", true, true, DamageType::Normal},
        {R"(Type="Crush")", true, true, DamageType::Normal},
    };
    for (const auto& c : cases) {
        DamageData damage;
        damage.contactOnly = true;
        damage.ignoreDepth = true;
        damage.type = DamageType::Crush;
        pugi::xml_document document;
        const std::string xml = std::string("<W><D ") + c.attributes + "/></W>";
        damage.read(parse(document, xml.c_str()), "D");
        EXPECT_EQ(damage.contactOnly, c.contactOnly) << c.attributes;
        EXPECT_EQ(damage.ignoreDepth, c.ignoreDepth) << c.attributes;
        EXPECT_EQ(damage.type, c.type) << c.attributes;
    }
}

TEST(VisualAttachment, DefaultsAndAttributes) {
    VisualAttachment light;
    EXPECT_EQ(light.sprite, "");
    EXPECT_EQ(light.scale, 1.0f);
    EXPECT_EQ(light.offset, fpVector2(0.0f, 0.0f));
    EXPECT_TRUE(light.loop);
    EXPECT_EQ(light.color, Color3(1.0f, 1.0f, 1.0f));
    EXPECT_EQ(light.strength, 1.0f);

    pugi::xml_document document;
    readVisualAttachment(parse(document, R"(<Light Sprite="Sprites/lights;glow" Scale="0.5" Offset="3;-4"
        Loop="false" Color="1;0.5;0.25" Strength="0.75"/>)"), light);
    EXPECT_EQ(light.sprite, "Sprites/lights;glow");
    EXPECT_EQ(light.scale, 0.5f);
    EXPECT_EQ(light.offset, fpVector2(3.0f, -4.0f));
    EXPECT_FALSE(light.loop);
    EXPECT_EQ(light.color, Color3(1.0f, 0.5f, 0.25f));
    EXPECT_EQ(light.strength, 0.75f);

    pugi::xml_document scaleOnly;
    readVisualAttachment(parse(scaleOnly, R"(<Light Scale="2"/>)"), light);
    EXPECT_EQ(light.scale, 2.0f);
    EXPECT_EQ(light.sprite, "Sprites/lights;glow");
    EXPECT_EQ(light.color, Color3(1.0f, 0.5f, 0.25f));

    for (const char* color : {"1;0.5", "1, 0.5, 0"}) {
        pugi::xml_document bad;
        const std::string xml = std::string("<Light Color=\"") + color + "\"/>";
        EXPECT_THROW(readVisualAttachment(parse(bad, xml.c_str()), light), boost::bad_lexical_cast) << color;
    }
}

TEST(GameObjectDefinition, Defaults) {
    const GameObjectDefinition d;
    EXPECT_EQ(d.name, "");
    EXPECT_EQ(d.sprite, "");
    EXPECT_FALSE(d.playAllFrames);
    EXPECT_FALSE(d.roundSpritePosition);
    EXPECT_EQ(d.spriteScale, 1.0f);
    EXPECT_EQ(d.renderPriority, 1000);
    EXPECT_FALSE(d.forceUpdateVisualization);
    EXPECT_EQ(d.collisionBox, fpRect(0, 0, 0, 0));
    EXPECT_EQ(d.collisionGroup, 0u);
    EXPECT_FALSE(d.collisionSensor);
    EXPECT_EQ(d.collideAgainst, 0u);
    EXPECT_FALSE(d.platformCollision);
    EXPECT_TRUE(d.sweepMove);
    EXPECT_TRUE(d.awakeAtStart);
    EXPECT_TRUE(d.updatePhysics);
    EXPECT_FALSE(d.canSleep);
    EXPECT_FALSE(d.wakeNeighboursOnMove);
    EXPECT_TRUE(d.weightPressure);
    EXPECT_FALSE(d.forceUpdateIfAwake);
    EXPECT_FALSE(d.forceUpdateOnCreation);
    EXPECT_FALSE(d.checkOnGround);
    EXPECT_FALSE(d.roundPosition);
    EXPECT_EQ(d.randomWakeTime, 0.0f);
    EXPECT_EQ(d.light.scale, 1.0f);
    EXPECT_EQ(d.gravityFactor, 1.0f);
    EXPECT_EQ(d.bounciness, 0.0f);
    EXPECT_EQ(d.groundFriction, 0.0f);
    EXPECT_EQ(d.wallFriction, 0.0f);
    EXPECT_EQ(d.linearAirResistance, 0.0f);
    EXPECT_EQ(d.quadraticAirResistance, 0.0f);
    EXPECT_FALSE(d.gravityFromRotation);
    EXPECT_FALSE(d.highQualityIntegration);
    EXPECT_FALSE(d.canRotate);
    EXPECT_TRUE(d.autoFacing);
    EXPECT_FALSE(d.rotateToFace);
    EXPECT_FALSE(d.randomDirection);
    EXPECT_EQ(d.softLandingSpeed, 0.0f);
    EXPECT_EQ(d.softLandingSound, "");
    EXPECT_EQ(d.collideSound, "");
    EXPECT_EQ(d.collideSoundTime, 0.0f);
    EXPECT_EQ(d.headBumpSound, "");
    EXPECT_FALSE(d.headBumpDamage);
    EXPECT_EQ(d.maxCountGroup, "");
    EXPECT_EQ(d.mapIcon, "");
    EXPECT_TRUE(d.beamsEnabled);
    EXPECT_EQ(d.beamsForcedUpdateTime, 0.0f);
    EXPECT_TRUE(d.beams.empty());
}

// Every key set away from its default, so that a misspelt key or a field read into the
// wrong place shows.
const char* const fullObject = R"(
    <Object>
      <Name>boulder</Name>
      <Sprite PlayAll="1" RoundPosition="T" Scale="0.5">Sprites/rocks;boulder</Sprite>
      <RenderPriority>1200</RenderPriority>
      <ForceUpdateVisualization>yes</ForceUpdateVisualization>
      <CollisionBox>-20;-20;40;40</CollisionBox>
      <CollisionGroup>rocks</CollisionGroup>
      <CollisionSensor>1</CollisionSensor>
      <CollideAgainst>tiles;player</CollideAgainst>
      <PlatformCollision>1</PlatformCollision>
      <SweepMove>0</SweepMove>
      <AwakeAtStart>false</AwakeAtStart>
      <UpdatePhysics>no</UpdatePhysics>
      <CanSleep>1</CanSleep>
      <WakeNeighboursOnMove>1</WakeNeighboursOnMove>
      <WeightPressure>0</WeightPressure>
      <ForceUpdateIfAwake>1</ForceUpdateIfAwake>
      <ForceUpdateOnCreation>1</ForceUpdateOnCreation>
      <CheckOnGround>1</CheckOnGround>
      <RoundPosition>1</RoundPosition>
      <RandomWakeTime>0.5</RandomWakeTime>
      <Light Sprite="Sprites/lights;dim" Strength="0.25"/>
      <GravityFactor>1.5</GravityFactor>
      <Bounciness>0.25</Bounciness>
      <GroundFriction>0.75</GroundFriction>
      <WallFriction>0.125</WallFriction>
      <LinearAirResistance>0.0625</LinearAirResistance>
      <QuadraticAirResistance>0.03125</QuadraticAirResistance>
      <GravityFromRotation>1</GravityFromRotation>
      <HighQualityIntegration>1</HighQualityIntegration>
      <CanRotate>1</CanRotate>
      <AutoFacing>0</AutoFacing>
      <RotateToFace>1</RotateToFace>
      <RandomDirection>1</RandomDirection>
      <LandSoft Speed="120" Sound="thud_soft"/>
      <CollideSound>rock_knock</CollideSound>
      <CollideSoundTime>0.3</CollideSoundTime>
      <HeadBumpSound>bonk</HeadBumpSound>
      <HeadBumpDamage>1</HeadBumpDamage>
      <MaxCountGroup>buildings</MaxCountGroup>
      <MapIcon>icon_rock</MapIcon>
      <Beams Enabled="0" ForcedUpdateTime="1.5">
        <Beam Definition="coil_arc" Angle="90"/>
      </Beams>
    </Object>)";

void expectFullObject(const GameObjectDefinition& d) {
    EXPECT_EQ(d.sprite, "Sprites/rocks;boulder");
    EXPECT_TRUE(d.playAllFrames);
    EXPECT_TRUE(d.roundSpritePosition);
    EXPECT_EQ(d.spriteScale, 0.5f);
    EXPECT_EQ(d.renderPriority, 1200);
    EXPECT_TRUE(d.forceUpdateVisualization);
    EXPECT_EQ(d.collisionBox, fpRect(-20, -20, 40, 40));
    EXPECT_EQ(d.collisionGroup, 0x8u);
    EXPECT_TRUE(d.collisionSensor);
    EXPECT_EQ(d.collideAgainst, 0x11u);
    EXPECT_TRUE(d.platformCollision);
    EXPECT_FALSE(d.sweepMove);
    EXPECT_FALSE(d.awakeAtStart);
    EXPECT_FALSE(d.updatePhysics);
    EXPECT_TRUE(d.canSleep);
    EXPECT_TRUE(d.wakeNeighboursOnMove);
    EXPECT_FALSE(d.weightPressure);
    EXPECT_TRUE(d.forceUpdateIfAwake);
    EXPECT_TRUE(d.forceUpdateOnCreation);
    EXPECT_TRUE(d.checkOnGround);
    EXPECT_TRUE(d.roundPosition);
    EXPECT_EQ(d.randomWakeTime, 0.5f);
    EXPECT_EQ(d.light.sprite, "Sprites/lights;dim");
    EXPECT_EQ(d.light.strength, 0.25f);
    EXPECT_EQ(d.gravityFactor, 1.5f);
    EXPECT_EQ(d.bounciness, 0.25f);
    EXPECT_EQ(d.groundFriction, 0.75f);
    EXPECT_EQ(d.wallFriction, 0.125f);
    EXPECT_EQ(d.linearAirResistance, 0.0625f);
    EXPECT_EQ(d.quadraticAirResistance, 0.03125f);
    EXPECT_TRUE(d.gravityFromRotation);
    EXPECT_TRUE(d.highQualityIntegration);
    EXPECT_TRUE(d.canRotate);
    EXPECT_FALSE(d.autoFacing);
    EXPECT_TRUE(d.rotateToFace);
    EXPECT_TRUE(d.randomDirection);
    EXPECT_EQ(d.softLandingSpeed, 120.0f);
    EXPECT_EQ(d.softLandingSound, "thud_soft");
    EXPECT_EQ(d.collideSound, "rock_knock");
    EXPECT_EQ(d.collideSoundTime, 0.3f);
    EXPECT_EQ(d.headBumpSound, "bonk");
    EXPECT_TRUE(d.headBumpDamage);
    EXPECT_EQ(d.maxCountGroup, "buildings");
    EXPECT_EQ(d.mapIcon, "icon_rock");
    EXPECT_FALSE(d.beamsEnabled);
    EXPECT_EQ(d.beamsForcedUpdateTime, 1.5f);
    ASSERT_EQ(d.beams.size(), 1u);
    EXPECT_EQ(d.beams[0].definition, "coil_arc");
    EXPECT_EQ(d.beams[0].angle, 1.5707964f);
}

using GameObjects = DefinitionRegistry<GameObjectDefinition>;

std::string objectsFile(const std::string& objects) { return "<Objects>" + objects + "</Objects>"; }

TEST(GameObjectDefinition, EveryKeyAndItsInheritance) {
    GameObjects registry("Objects", "Object", "Name");
    registry.loadText("objects.xml", objectsFile(std::string(fullObject) +
                                                 "<Object><Name>pebble</Name><Template>boulder</Template></Object>"));
    const GameObjectDefinition& full = registry.get("boulder");
    EXPECT_EQ(full.name, "boulder");
    expectFullObject(full);
    // A definition giving only its name and template keeps every value of the template.
    const GameObjectDefinition& inherited = registry.get("pebble");
    EXPECT_EQ(inherited.name, "pebble");
    expectFullObject(inherited);
}

TEST(GameObjectDefinition, ListsAppendAndPartialElementsKeep) {
    GameObjects registry("Objects", "Object", "Name");
    registry.loadText("objects.xml", objectsFile(R"(
        <Object><Name>base</Name><Sprite Scale="2">Sprites/a;b</Sprite><CollisionGroup>rocks</CollisionGroup>
          <Beams><Beam Definition="first" Angle="-45"/></Beams></Object>
        <Object><Name>child</Name><Template>base</Template><Sprite>Sprites/a;c</Sprite>
          <Beams ForcedUpdateTime="2"><Beam Definition="second"/><Extra Definition="third" Angle="180"/></Beams>
          <CollisionGroup></CollisionGroup></Object>)"));
    const GameObjectDefinition& child = registry.get("child");
    EXPECT_EQ(child.sprite, "Sprites/a;c");
    EXPECT_EQ(child.spriteScale, 2.0f); // Sprite without Scale keeps the inherited scale
    EXPECT_TRUE(child.beamsEnabled);
    EXPECT_EQ(child.beamsForcedUpdateTime, 2.0f);
    ASSERT_EQ(child.beams.size(), 3u);
    EXPECT_EQ(child.beams[0].definition, "first");
    EXPECT_EQ(child.beams[0].angle, -45.0f * 3.1415927f / 180.0f);
    EXPECT_EQ(child.beams[1].definition, "second");
    EXPECT_EQ(child.beams[1].angle, 0.0f);
    EXPECT_EQ(child.beams[2].definition, "third");
    EXPECT_EQ(child.beams[2].angle, 3.1415927f);
    EXPECT_EQ(registry.get("base").beams.size(), 1u);
    EXPECT_EQ(child.collisionGroup, 0x8u); // an element without text counts as absent
}

TEST(GameObjectDefinition, NameComesFromTheElementNotTheTemplate) {
    GameObjects registry("Objects", "Object", "@Id");
    registry.loadText("objects.xml", objectsFile(R"(<Object Id="a"><Name>anvil</Name></Object>
        <Object Id="b"><Template>a</Template></Object>)"));
    EXPECT_EQ(registry.get("a").name, "anvil");
    EXPECT_EQ(registry.get("b").name, "");
}

TEST(GameObjectDefinition, BadValuesFailTheDefinition) {
    const std::string prefix =
        "Could not load Objects from file 'objects.xml', reason: Could not read Object definition 'bad' in file "
        "'objects.xml', reason: ";
    const std::string conversion = "bad lexical cast: source type value could not be interpreted as target";
    const struct {
        const char* keys;
        std::string reason;
    } cases[] = {
        {"<CollisionBox>0;0;40</CollisionBox>", conversion},
        {"<Light Color=\"1;0.5\"/>", conversion},
        {"<Light Offset=\"1;2;3\"/>", conversion},
        {"<Beams><Beam Definition=\"a\"/><Beam Angle=\"3\"/></Beams>",
         "Missing attribute: /Objects/Object/Beams/Beam/@Definition"},
    };
    for (const auto& c : cases) {
        GameObjects registry("Objects", "Object", "Name");
        try {
            registry.loadText("objects.xml", objectsFile(std::string("<Object><Name>bad</Name>") + c.keys + "</Object>"));
            ADD_FAILURE() << c.keys;
        } catch (const CheckReleaseError& error) {
            EXPECT_EQ(std::string(error.what()), prefix + c.reason) << c.keys;
        }
        EXPECT_TRUE(registry.definitions().empty());
    }
}

} // namespace
} // namespace zor
