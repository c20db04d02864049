#pragma once
// Harness games with the game's own movement steps, actors of the tests' own (names
// beginning with "m_") and the instructions their small behaviours run.
//
// Actors: "m_pacer" (checks for ground, WalkSpeed 60, an enemy of the player; behaviour
// "m_pace": it walks the way it faces and turns round at an edge), "m_watcher" (the same,
// with a behaviour that only listens for "atEdge", "metEnemy" and "metSomeone"),
// "m_rival" (a watcher of the player's side), "m_pebble" (a rock that rests on whole pixels), "m_runner" (checks for ground, WalkSpeed
// 100), "m_hopper" (checks for ground, WalkSpeed 100, JumpSpeed 400, Water 5, LightTime
// 100, a light of scale 2), "m_sprinter" (a hopper walking at 400 px/s), "m_slider" (a hopper
// with a slide effect and sound), "m_double" and "m_steamer" (hoppers with the double and the
// charged jump), "m_plate" (a jump plate), "m_ladder", "m_elder" (a townsperson). Instructions: "MPace" walks the actor the way it faces;
// "MTurn" turns it round and posts "turned"; "MWait" waits.

#include "tests/support/game/FixtureDefinitions.h"
#include "tests/support/game/GameHarness.h"

#include "game/definitions/ActorDefinition.h"
#include "game/definitions/EffectDefinition.h"
#include "game/definitions/MachineTables.h"
#include "game/simulation/GameObjectSimulator.h"
#include "game/simulation/ObjectStepContext.h"
#include "game/simulation/behavior/BehaviorData.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/entity/BehaviorMachine.h"

#include "Framework/core/settings/SettingsHandler.h"

#include <memory>
#include <string>
#include <utility>

namespace zor::test {

inline const char* const MovementActors = R"(
  <Actor>
    <Name>m_pacer</Name>
    <CollisionBox>-8;-16;16;16</CollisionBox>
    <CollisionGroup>enemies</CollisionGroup>
    <CollideAgainst>rocks;tiles;bounds</CollideAgainst>
    <CheckOnGround>true</CheckOnGround>
    <WalkSpeed>60</WalkSpeed>
    <AllyGroup>gleamer</AllyGroup>
    <Enemies>player</Enemies>
    <Behavior>m_pace</Behavior>
  </Actor>
  <Actor><Name>m_watcher</Name><Template>m_pacer</Template><Behavior>m_watch</Behavior></Actor>
  <Actor><Name>m_rival</Name><Template>m_watcher</Template><AllyGroup>player</AllyGroup></Actor>
  <Actor>
    <Name>m_pebble</Name>
    <CollisionBox>-5;-10;10;10</CollisionBox>
    <CollisionGroup>rocks</CollisionGroup>
    <CollideAgainst>tiles;bounds</CollideAgainst>
    <RoundPosition>true</RoundPosition>
  </Actor>
  <Actor>
    <Name>m_runner</Name>
    <CollisionBox>-8;-30;16;30</CollisionBox>
    <CollisionGroup>enemies</CollisionGroup>
    <CollideAgainst>tiles;bounds</CollideAgainst>
    <CheckOnGround>true</CheckOnGround>
    <WalkSpeed>100</WalkSpeed>
  </Actor>
  <Actor>
    <Name>m_hopper</Name>
    <CollisionBox>-8;-30;16;30</CollisionBox>
    <CollisionGroup>enemies</CollisionGroup>
    <CollideAgainst>tiles;bounds</CollideAgainst>
    <CheckOnGround>true</CheckOnGround>
    <WalkSpeed>100</WalkSpeed>
    <JumpSpeed>400</JumpSpeed>
    <Water>5</Water>
    <LightTime>100</LightTime>
    <Light Sprite="Sprites/lights;soft_round" Scale="2"/>
  </Actor>
  <Actor><Name>m_sprinter</Name><Template>m_hopper</Template><WalkSpeed>400</WalkSpeed></Actor>
  <Actor>
    <Name>m_slider</Name><Template>m_hopper</Template>
    <SlideEffect>puff</SlideEffect><SlideEffectFrequency>0.1</SlideEffectFrequency>
    <SlideSound>slide_loop</SlideSound>
  </Actor>
  <Actor><Name>m_double</Name><Template>m_hopper</Template><EnableDoubleJump>true</EnableDoubleJump></Actor>
  <Actor><Name>m_steamer</Name><Template>m_hopper</Template><EnableChargeJump>true</EnableChargeJump></Actor>
  <Actor>
    <Name>m_plate</Name>
    <CollisionBox>-16;-6;32;6</CollisionBox>
    <CollisionGroup>transport</CollisionGroup>
    <UpdatePhysics>false</UpdatePhysics>
  </Actor>
  <Actor>
    <Name>m_ladder</Name>
    <SpecialType>ladder</SpecialType>
    <CollisionBox>-10;-120;20;120</CollisionBox>
    <CollisionGroup>ladders</CollisionGroup>
    <CollisionSensor>true</CollisionSensor>
    <UpdatePhysics>false</UpdatePhysics>
  </Actor>
  <Actor>
    <Name>m_elder</Name>
    <CollisionBox>-10;-30;20;30</CollisionBox>
    <CollisionGroup>npcs</CollisionGroup>
    <CollideAgainst>tiles;bounds</CollideAgainst>
  </Actor>)";

inline const char* const MovementBehaviors = R"(
  <Machine><Name>m_pace</Name><InitialState>walk</InitialState>
    <State Name="walk" State="MPace"><Transition Input="atEdge" Destination="turn"/></State>
    <State Name="turn" State="MTurn"><Transition Input="turned" Destination="walk"/></State>
  </Machine>
  <Machine><Name>m_watch</Name><InitialState>wait</InitialState>
    <State Name="wait" State="MWait">
      <Transition Input="atEdge" Destination="" StealInput="false"/>
      <Transition Input="metEnemy" Destination="" StealInput="false"/>
      <Transition Input="metSomeone" Destination="" StealInput="false"/>
    </State>
  </Machine>)";

// The movement's own effects, without sprites.
inline const char* const MovementEffects = R"(
  <Effect><Name>land_puff</Name></Effect>
  <Effect><Name>double_jump</Name></Effect>
  <Effect><Name>water_splash</Name></Effect>
  <Effect><Name>acid_splash</Name></Effect>)";

inline MachineInstruction paceInstruction(ActorObject& actor, BehaviorData&) {
    actor.moveVector.x = actor.facing.x;
    return MachineInstruction::Running;
}

inline MachineInstruction turnInstruction(ActorObject& actor, BehaviorData&) {
    actor.facing.x = -actor.facing.x;
    actor.behaviorMachine->postEvent("turned");
    return MachineInstruction::Finished;
}

inline MachineInstruction waitInstruction(ActorObject&, BehaviorData&) { return MachineInstruction::Running; }

// The settings of the movement rules that the fixture games do not declare. The handler is
// the program's from here on, so that every harness game reads them.
inline void declareMovementSettings() {
    static std::unique_ptr<SettingsHandler> own;
    if (!SettingsHandler::exists()) own = std::make_unique<SettingsHandler>();
    SettingsHandler& settings = SettingsHandler::instance();
    for (const auto& [key, value] : {std::pair<const char*, float>{"Game.MaxRunSpeed", 400.0f},
                                     std::pair<const char*, float>{"Game.JumpPlateImpulse", 700.0f}})
        if (settings.settings().count(key) == 0)
            settings.declare(key, "", value, SettingPersistent, SettingInternal);
}

inline void loadMovementFixture() {
    declareMovementSettings();
    static const bool loaded = [] {
        loadFixtureDefinitions();
        addDefinitions(actorRegistry(), "movement actors", MovementActors);
        addDefinitions(effectRegistry(), "movement effects", MovementEffects);
        static DefinitionRegistry<BehaviorDefinition> behaviors("Behaviors", "Machine", "Name");
        behaviors.loadText("movement behaviors", std::string("<Behaviors>") + MovementBehaviors + "</Behaviors>");
        buildMachineTable(behaviors, "movement behaviors", behaviorMachineTable());
        return true;
    }();
    (void)loaded;
}

// A harness game in "fixture_mine" with the game's own movement and the tests'
// instructions. Its room's moss and lichen blocks make a ledge 40 px high from x 240 to
// 400 with its top at y 280; the floor's top is at y 320. `contacts`: the game's own contact
// rules answer the physics too.
inline std::unique_ptr<GameHarness> movementGame(std::uint32_t seed = 3, bool contacts = false) {
    loadMovementFixture();
    HarnessOptions options(seed, "fixture_mine");
    options.gameMovement = true;
    options.gameContacts = contacts;
    auto harness = std::make_unique<GameHarness>(options);
    EnemySimulator& enemies = harness->objects().enemySimulator();
    enemies.registerInstruction("MPace", paceInstruction);
    enemies.registerInstruction("MTurn", turnInstruction);
    enemies.registerInstruction("MWait", waitInstruction);
    return harness;
}

inline ObjectStepContext stepContext(float step = GameHarness::StepLength) {
    ObjectStepContext context;
    context.step = step;
    return context;
}

} // namespace zor::test
