#include "tests/support/game/FixtureDefinitions.h"

#include "game/definitions/ActorDefinition.h"
#include "game/definitions/EffectDefinition.h"
#include "game/definitions/MaterialDefinition.h"
#include "game/definitions/MachineTables.h"
#include "game/definitions/ProjectileDefinition.h"
#include "game/definitions/ResourceDefinition.h"

namespace zor::test {

namespace {

const char* const Actors = R"(
  <Actor>
    <Name>player</Name>
    <SpecialType>player</SpecialType>
    <CollisionBox>-10;-34;20;34</CollisionBox>
    <CollisionGroup>player</CollisionGroup>
    <CollideAgainst>enemies;rocks;tiles;items;trigger;bounds;exits</CollideAgainst>
    <HitPoints>10</HitPoints>
    <Water>5</Water>
    <LightTime>120</LightTime>
    <Animation>miner_body</Animation>
    <AnimationState>body</AnimationState>
    <Persistent>true</Persistent>
    <ResetWithEarth>false</ResetWithEarth>
  </Actor>
  <Actor>
    <Name>crawler</Name>
    <CollisionBox>-12;-16;24;16</CollisionBox>
    <CollisionGroup>enemies</CollisionGroup>
    <CollideAgainst>player;rocks;tiles;bounds</CollideAgainst>
    <HitPoints>2</HitPoints>
    <WakeNeighboursOnMove>true</WakeNeighboursOnMove>
    <Animation>crawler_body</Animation>
    <AnimationState>body</AnimationState>
    <HeartBeatTime>2</HeartBeatTime>
    <IdleSoundTime>6</IdleSoundTime>
  </Actor>
  <Actor>
    <Name>keeper</Name>
    <Template>crawler</Template>
    <Persistent>true</Persistent>
    <ResetWithEarth>true</ResetWithEarth>
  </Actor>
  <Actor>
    <Name>stone_guard</Name>
    <Template>crawler</Template>
    <Persistent>true</Persistent>
    <ResetWithEarth>false</ResetWithEarth>
  </Actor>
  <Actor>
    <Name>turner</Name>
    <CollisionBox>-10;-4;30;8</CollisionBox>
    <CollisionGroup>rocks</CollisionGroup>
    <CanRotate>true</CanRotate>
    <RoundPosition>true</RoundPosition>
  </Actor>
  <Actor>
    <Name>clinger</Name>
    <CollisionBox>-8;-12;16;12</CollisionBox>
    <CollisionGroup>hard_enemies</CollisionGroup>
    <CanRotate>true</CanRotate>
    <AttachedDirection>0;1</AttachedDirection>
    <Cannon Name="maw" MaxAngle="45" Length="10"/>
  </Actor>
  <Actor>
    <Name>sentry</Name>
    <CollisionBox>-8;-20;16;20</CollisionBox>
    <CollisionGroup>enemies</CollisionGroup>
    <AutoFacing>false</AutoFacing>
    <Water>20</Water>
    <JumpSpeed>500</JumpSpeed>
    <StaticDashVelocity>300</StaticDashVelocity>
    <EnableHighJump>true</EnableHighJump>
    <Weapons>
      <Weapon><Name>pick</Name><AttackDamage Amount="1"/></Weapon>
      <Weapon><Name>lance</Name><AttackDamage Amount="1"/><WaterDrain>1</WaterDrain><MinWater>10</MinWater></Weapon>
      <Weapon><Name>stomp</Name><AttackDamage Amount="1"/><AttackOnGround>true</AttackOnGround></Weapon>
      <Weapon><Name>nudge</Name><AttackType>contact</AttackType></Weapon>
      <Weapon><Name>wind_up</Name><ChargeDamage Amount="2"/></Weapon>
      <Weapon><Name>spit</Name><AttackType>projectile</AttackType></Weapon>
      <Weapon><Name>shell</Name><AttackType>turtle_projectile</AttackType></Weapon>
      <Weapon><Name>ray</Name><AttackType>laser</AttackType></Weapon>
    </Weapons>
  </Actor>
  <Actor>
    <Name>trough</Name>
    <SpecialType>pool</SpecialType>
    <CollisionBox>-20;-10;40;10</CollisionBox>
    <CollisionGroup>pools</CollisionGroup>
    <Water>7</Water>
  </Actor>
  <Actor>
    <Name>phantom</Name>
    <Template>crawler</Template>
    <Animation>no_such_animation</Animation>
  </Actor>
)";

const char* const Animations = R"(
  <Animation>
    <Name>PlayerLegs</Name>
    <InitialState>legs_idle</InitialState>
    <State Name="legs_idle"><Transition Input="walk" Destination="legs_walk"/></State>
    <State Name="legs_walk"><Transition Input="idle" Destination="legs_idle"/></State>
  </Animation>
  <Animation>
    <Name>miner_body</Name>
    <InitialState>idle</InitialState>
    <State Name="idle">
      <Transition Input="walk" Destination="walk"/>
      <Transition Input="attack" Destination="swing"/>
    </State>
    <State Name="walk">
      <Transition Input="idle" Destination="idle"/>
      <Transition Input="attack" Destination="swing"/>
    </State>
    <State Name="swing"><Transition Input="not_attack" Destination="idle"/></State>
  </Animation>
  <Animation>
    <Name>crawler_body</Name>
    <InitialState>idle</InitialState>
    <State Name="idle"><Transition Input="move" Destination="walk"/></State>
    <State Name="walk"><Transition Input="idle" Destination="idle"/></State>
  </Animation>
)";

const char* const Resources = R"(
  <Resource>
    <Name>ore</Name>
    <CollisionBox>-6;-6;12;12</CollisionBox>
    <CollisionGroup>items</CollisionGroup>
    <CollideAgainst>rocks;tiles;bounds</CollideAgainst>
    <Value>4</Value>
  </Resource>
  <Resource>
    <Name>gem</Name>
    <Template>ore</Template>
    <Persistent>true</Persistent>
  </Resource>
  <Resource>
    <Name>orb</Name>
    <CollisionBox>-4;-4;8;8</CollisionBox>
    <CollisionGroup>items</CollisionGroup>
    <ValueOrb>1</ValueOrb>
    <LifeTime>12</LifeTime>
  </Resource>
  <Resource>
    <Name>refill_health</Name>
    <CollisionBox>-6;-6;12;6</CollisionBox>
    <CollisionGroup>items</CollisionGroup>
    <GiveHitPoints>2</GiveHitPoints>
    <LifeTime>20</LifeTime>
  </Resource>
  <Resource>
    <Name>refill_water</Name>
    <Template>refill_health</Template>
    <GiveHitPoints>0</GiveHitPoints>
    <GiveWater>4</GiveWater>
  </Resource>
  <Resource>
    <Name>refill_light</Name>
    <Template>refill_health</Template>
    <GiveHitPoints>0</GiveHitPoints>
    <GiveLightFraction>1</GiveLightFraction>
  </Resource>
  <Resource>
    <Name>supply_crate</Name>
    <CollisionBox>-10;-14;20;14</CollisionBox>
    <CollisionGroup>items</CollisionGroup>
    <SpawnRefill>true</SpawnRefill>
  </Resource>
  <Resource>
    <Name>orb_cluster</Name>
    <CollisionBox>-8;-8;16;16</CollisionBox>
    <CollisionGroup>items</CollisionGroup>
    <SpawnOrbs Min="2" Max="4"/>
  </Resource>
  <Resource>
    <Name>spore_cache</Name>
    <Template>ore</Template>
    <SpawnProjectile>spores</SpawnProjectile>
  </Resource>
  <Resource>
    <Name>crawler_egg</Name>
    <Template>ore</Template>
    <SpawnActor>crawler</SpawnActor>
  </Resource>
)";

const char* const Projectiles = R"(
  <Projectile>
    <Name>spores</Name>
    <CollisionBox>-2;-2;4;4</CollisionBox>
    <CollisionGroup>projectiles</CollisionGroup>
    <TimeFuze>3</TimeFuze>
    <RadialDamage Amount="2" Tier="1" Radius="30" Falloff="Linear"/>
  </Projectile>
)";

const char* const Effects = R"(
  <Effect>
    <Name>puff</Name>
  </Effect>
  <Effect>
    <Name>glow_burst</Name>
    <Sprite Scale="2">Sprites/effects;glow</Sprite>
    <Light Sprite="Sprites/lights;soft_round" Scale="1.5" Offset="0;-4" Color="1;0.8;0.4" Strength="0.7"/>
  </Effect>
)";

// The materials of the fixture levels' tiles (FixtureLevels.h).
const char* const Materials = R"(
  <Material>
    <Name>loam</Name>
    <RegenEffect>puff</RegenEffect>
    <RegenTimeSeconds>2</RegenTimeSeconds>
  </Material>
  <Material>
    <Name>lichen_matter</Name>
    <RegenTimeSeconds>1</RegenTimeSeconds>
  </Material>
)";

} // namespace

void loadFixtureDefinitions() {
    static const bool loaded = [] {
        addDefinitions(actorRegistry(), "fixture actors", Actors);
        addDefinitions(projectileRegistry(), "fixture projectiles", Projectiles);
        addDefinitions(resourceRegistry(), "fixture resources", Resources);
        registerResourceInventoryItems();
        addDefinitions(effectRegistry(), "fixture effects", Effects);
        addDefinitions(materialRegistry(), "fixture materials", Materials);
        addDefinitions(animationRegistry(), "fixture animations", Animations);
        buildAnimationMachines();
        return true;
    }();
    (void)loaded;
}

} // namespace zor::test
