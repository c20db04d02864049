#pragma once
// The instruction harness with a boss and its generators.
//
// "b_boss" (group boss, box -30;-60;60;60, HitPoints 36, ConstantSound "boss_hum",
// HeartBeatTime 3, boss_core, no physics step, eight weapons firing "spores"; "b_one_gun"
// the same with one weapon, "b_silent" without weapons or constant sound) runs "b_boss": a state named after each boss
// instruction, entered with changeState, whose inputs lead to states named after them
// ("done", "yes" for "true", "no" for "false", "spawnEnemy" ...); the defeat leads into
// "ending" (ItIsOverNow). At rest it takes "generatorAttacked" and "generatorDestroyed".
// "b_generator" (group hard_enemies, box -10;-20;20;20, HitPoints 12, generator) runs
// the generator's cycle: setup, inactive, activation, active, check. "b_minion" (group
// enemies) and "b_barrier" (barrier) are what the ending and the force field sweep away.
// Animation machines "BossEye" and "BossHatch" name every input the boss sends.

#include "tests/game/simulation/behavior/instructions/InstructionFixture.h"

#include "game/definitions/EffectDefinition.h"
#include "game/definitions/ResourceDefinition.h"
#include "game/simulation/behavior/BossFight.h"

namespace zor::test {

inline const char* const BossBehaviors = R"(
  <Machine><Name>b_boss</Name><InitialState>rest</InitialState>
    <State Name="rest" State="Idle">
      <Transition Input="generatorAttacked" Destination="attacked"/>
      <Transition Input="generatorDestroyed" Destination="destroyed"/>
    </State>
    <State Name="attacked" State="Idle"/><State Name="destroyed" State="Idle"/>
    <State Name="done" State="Idle"/><State Name="yes" State="Idle"/><State Name="no" State="Idle"/>
    <State Name="tooLong" State="Idle"/>
    <State Name="spawnEnemy" State="Idle"/><State Name="targetLaser" State="Idle"/>
    <State Name="spinLaser" State="Idle"/>
    <State Name="ending" State="ItIsOverNow"><Transition Input="done" Destination="done"/></State>
    <State Name="BossSetup"><Transition Input="done" Destination="done"/></State>
    <State Name="BossStart"><Transition Input="done" Destination="done"/></State>
    <State Name="BossIdle"/>
    <State Name="BossAttack">
      <Transition Input="spawnEnemy" Destination="spawnEnemy"/>
      <Transition Input="targetLaser" Destination="targetLaser"/>
      <Transition Input="spinLaser" Destination="spinLaser"/>
    </State>
    <State Name="SpawnEnemy"><Transition Input="done" Destination="done"/></State>
    <State Name="StartSpinLaser"><Transition Input="done" Destination="done"/></State>
    <State Name="SpinLaser"><Transition Input="done" Destination="done"/></State>
    <State Name="LockOnLaser"><Transition Input="done" Destination="done"/></State>
    <State Name="StartTargetLaser"><Transition Input="done" Destination="done"/></State>
    <State Name="TargetLaser"><Transition Input="done" Destination="done"/></State>
    <State Name="CheckGenerators">
      <Transition Input="true" Destination="yes"/><Transition Input="false" Destination="no"/>
    </State>
    <State Name="Vulnerable"><Transition Input="tooLongTime" Destination="tooLong"/></State>
    <State Name="CheckNextPhase">
      <Transition Input="true" Destination="yes"/><Transition Input="false" Destination="no"/>
      <Transition Input="itIsOverNow" Destination="ending"/>
    </State>
    <State Name="RespawnGenerators"><Transition Input="done" Destination="done"/></State>
    <State Name="RestoreBackdrop"/>
    <State Name="Explosion"><Transition Input="done" Destination="done"/></State>
  </Machine>
  <Machine><Name>b_generator</Name><InitialState>setup</InitialState>
    <State Name="setup" State="GeneratorSetup"><Transition Input="done" Destination="inactive"/></State>
    <State Name="inactive" State="GeneratorInactive">
      <Transition Input="spawnGenerator" Destination="activate"/>
    </State>
    <State Name="activate" State="GeneratorActivation"><Transition Input="done" Destination="active"/></State>
    <State Name="active" State="GeneratorActive"><Transition Input="attacked" Destination="check"/></State>
    <State Name="check" State="GeneratorCheckDamage">
      <Transition Input="false" Destination="active"/><Transition Input="true" Destination="inactive"/>
    </State>
  </Machine>)";

inline const char* const BossAnimations = R"(
  <Animation><Name>BossEye</Name><InitialState>watch</InitialState>
    <State Name="watch">
      <Transition Input="shoot" Destination="shoot"/><Transition Input="doneShooting" Destination="watch"/>
      <Transition Input="disabled" Destination="disabled"/><Transition Input="destroyed" Destination="destroyed"/>
      <Transition Input="damaged" Destination="damaged"/>
    </State>
    <State Name="shoot"><Transition Input="doneShooting" Destination="watch"/></State>
    <State Name="disabled"/><State Name="destroyed"/><State Name="damaged"/>
  </Animation>
  <Animation><Name>BossHatch</Name><InitialState>shut</InitialState>
    <State Name="shut"><Transition Input="open" Destination="open"/></State>
    <State Name="open"><Transition Input="close" Destination="shut"/></State>
  </Animation>)";

inline void loadBossFixture() {
    static const bool loaded = [] {
        loadInstructionFixture();
        std::string weapons;
        for (int i = 0; i < 8; ++i)
            weapons += "<Weapon><Name>w" + std::to_string(i) +
                       "</Name><AttackType>projectile</AttackType><ProjectileName>spores</ProjectileName></Weapon>";
        const std::string boss = R"(<Behavior>b_boss</Behavior>
            <CollisionBox>-30;-60;60;60</CollisionBox><CollisionGroup>boss</CollisionGroup>
            <UpdatePhysics>false</UpdatePhysics>
            <HitPoints>36</HitPoints>
            <HeartBeatTime>3</HeartBeatTime><HeartBeatRandomTime>0</HeartBeatRandomTime>
            <SpecialType>boss_core</SpecialType>)";
        const std::string hum = "<ConstantSound>boss_hum</ConstantSound>";
        const std::string oneWeapon = "<Weapons><Weapon><Name>w0</Name></Weapon></Weapons>";
        addDefinitions(actorRegistry(), "boss actors", R"(
          <Actor><Name>b_boss</Name>)" + boss + hum + "<Weapons>" + weapons + R"(</Weapons></Actor>
          <Actor><Name>b_silent</Name>)" + boss + R"(</Actor>
          <Actor><Name>b_one_gun</Name>)" + boss + hum + oneWeapon + R"(</Actor>
          <Actor><Name>b_generator</Name><Behavior>b_generator</Behavior>
            <CollisionBox>-10;-20;20;20</CollisionBox><CollisionGroup>hard_enemies</CollisionGroup>
            <HitPoints>12</HitPoints><SpecialType>generator</SpecialType></Actor>
          <Actor><Name>b_minion</Name><Template>i_base</Template><CollisionGroup>enemies</CollisionGroup></Actor>
          <Actor><Name>b_barrier</Name><Template>i_base</Template><SpecialType>barrier</SpecialType></Actor>)");
        addDefinitions(resourceRegistry(), "boss resources", R"(
          <Resource><Name>refill_all</Name><CollisionBox>-6;-6;12;6</CollisionBox>
            <CollisionGroup>items</CollisionGroup><GiveHitPoints>5</GiveHitPoints><GiveWater>5</GiveWater>
            <LifeTime>20</LifeTime></Resource>)");
        addDefinitions(effectRegistry(), "boss effects", R"(
          <Effect><Name>boss_explosion</Name></Effect><Effect><Name>explosion_egg_large</Name></Effect>
          <Effect><Name>explosion_egg_small</Name></Effect><Effect><Name>generator_explosion</Name></Effect>)");
        static DefinitionRegistry<BehaviorDefinition> behaviors("Behaviors", "Machine", "Name");
        behaviors.loadText("boss behaviors", std::string("<Behaviors>") + BossBehaviors + "</Behaviors>");
        buildMachineTable(behaviors, "boss behaviors", behaviorMachineTable());
        static DefinitionRegistry<AnimationDefinition> animations("Animations", "Animation", "Name");
        animations.loadText("boss animations", std::string("<Animations>") + BossAnimations + "</Animations>");
        buildMachineTable(animations, "boss animations", animationMachineTable());
        return true;
    }();
    (void)loaded;
}

class BossTest : public InstructionTest {
protected:
    static constexpr float Step = GameHarness::StepLength;
    // The arena: the boss hovers in the middle of the hall, generators stand on its floor.
    static constexpr float BossX = 400.0f;
    static constexpr float BossY = 200.0f;

    BossTest() { loadBossFixture(); }

    // A boss after its set-up and start: claimed by the World, its parts made, phase 0.
    ActorObject& startBoss() {
        ActorObject& boss = spawn("b_boss", {BossX, BossY});
        run(boss, "BossSetup");
        // A constant sound that already plays takes a step to start again.
        if (state(boss) == "BossSetup") tick(boss, Step);
        run(boss, "BossStart");
        return boss;
    }

    // Generators registered with the boss, standing apart on the floor.
    std::vector<ActorObject*> addGenerators(int count, const char* name = "1") {
        std::vector<ActorObject*> generators;
        for (int i = 0; i < count; ++i) {
            ActorObject& generator = spawn("b_generator", {60.0f + 40.0f * float(i), 320.0f});
            generator.name = name;
            tick(generator, Step);
            generators.push_back(&generator);
        }
        return generators;
    }

    // The state's first step, as if a transition had led there.
    void run(ActorObject& actor, const char* state, float seconds = Step) {
        actor.behaviorMachine->changeState(state);
        actor.behaviorRestart = true;
        tick(actor, seconds);
    }

    // The part's state once it has taken its inputs.
    static std::string partState(ActorObject& actor, const std::string& part) {
        BehaviorMachine& machine = *actor.animationParts.at(part).machine;
        machine.update();
        return machine.name();
    }

    BossFight& fight() { return enemies().bossFight(); }
};

} // namespace zor::test
