#pragma once
// The instruction harness with the actors of the movement, creature and combat tests.
//
// Actors (box -10;-20;20;20, so the body centre is 10 px above the position): "e_prey" (group
// enemies, ally group player, no behaviour) and "e_stranger" (the same of another group); hunters of the player's allies, which trust
// what they have not seen unless said: "e_find" (FindEnemy Radius 100), "e_wary" (the same,
// checking what has been seen), "e_ahead" (FindEnemyAhead 60 x 30, 10 ahead); cannons of
// MaxAngle 45 degrees: "e_gun" (FindEnemy Radius 200), "e_aim" (AimForEnemy); "e_scan"
// (CannonScan, MaxAngle 0.5 rad); "e_block" (FallblockUpdate, group rocks); "e_attack";
// "e_side" (PlayerDirection); "e_look" (FindAnimationDirection); "e_moves" (a state per
// movement instruction, entered with changeState); "e_muzzle" (spawn offset 4;-6 and a
// weapon's 10;0, no behaviour) and "e_turning_muzzle" (the same, CanRotate). Machine "e_looks" is an animation part
// that knows the four directions.

#include "tests/game/simulation/behavior/instructions/InstructionFixture.h"

namespace zor::test {

inline const char* const EnemyInstructionBehaviors = R"(
  <Machine><Name>e_find</Name><InitialState>look</InitialState>
    <State Name="look" State="FindEnemy"><Property Name="Radius" Value="100"/>
      <Transition Input="foundEnemy" Destination="found"/><Transition Input="notFoundEnemy" Destination="lost"/>
    </State>
    <State Name="found" State="Idle"/><State Name="lost" State="Idle"/>
  </Machine>
  <Machine><Name>e_ahead</Name><InitialState>look</InitialState>
    <State Name="look" State="FindEnemyAhead2">
      <Property Name="Distance" Value="60"/><Property Name="Height" Value="30"/><Property Name="OffsetX" Value="10"/>
      <Transition Input="foundEnemy" Destination="found"/><Transition Input="notFoundEnemy" Destination="lost"/>
    </State>
    <State Name="found" State="Idle"/><State Name="lost" State="Idle"/>
  </Machine>
  <Machine><Name>e_gun</Name><InitialState>look</InitialState>
    <State Name="look" State="FindEnemy"><Property Name="Radius" Value="200"/>
      <Transition Input="foundEnemy" Destination="found"/><Transition Input="notFoundEnemy" Destination="lost"/>
    </State>
    <State Name="found" State="Idle"/><State Name="lost" State="Idle"/>
  </Machine>
  <Machine><Name>e_aim</Name><InitialState>aim</InitialState>
    <State Name="aim" State="AimForEnemy">
      <Transition Input="targetLocked" Destination="locked"/><Transition Input="targetLost" Destination="lost"/>
    </State>
    <State Name="locked" State="Idle"/><State Name="lost" State="Idle"/>
  </Machine>
  <Machine><Name>e_scan</Name><InitialState>scan</InitialState>
    <State Name="scan" State="CannonScan"/>
  </Machine>
  <Machine><Name>e_block</Name><InitialState>hang</InitialState>
    <State Name="hang" State="FallblockUpdate"/>
  </Machine>
  <Machine><Name>e_attack</Name><InitialState>strike</InitialState>
    <State Name="strike" State="Attack"><Transition Input="attackDone" Destination="rest"/></State>
    <State Name="rest" State="Idle"/>
  </Machine>
  <Machine><Name>e_side</Name><InitialState>ask</InitialState>
    <State Name="ask" State="PlayerDirection">
      <Transition Input="left" Destination="left"/><Transition Input="right" Destination="right"/>
    </State>
    <State Name="left" State="Idle"/><State Name="right" State="Idle"/>
  </Machine>
  <Machine><Name>e_look</Name><InitialState>look</InitialState>
    <State Name="look" State="FindAnimationDirection"><Transition Input="done" Destination="rest"/></State>
    <State Name="rest" State="Idle"/>
  </Machine>
  <Machine><Name>e_looks</Name><InitialState>any</InitialState>
    <State Name="any" State="Idle">
      <Transition Input="left" Destination="any"/><Transition Input="right" Destination="any"/>
      <Transition Input="up" Destination="any"/><Transition Input="down" Destination="any"/>
    </State>
  </Machine>
  <Machine><Name>e_moves</Name><InitialState>rest</InitialState>
    <State Name="rest" State="Idle"/>
    <State Name="MoveLeft"/><State Name="MoveRight"/><State Name="ChargeLeft"/><State Name="ChargeRight"/>
    <State Name="Jump"><Transition Input="done" Destination="rest"/></State>
    <State Name="RunStart"><Transition Input="done" Destination="rest"/></State>
    <State Name="RunStop"><Transition Input="done" Destination="rest"/></State>
    <State Name="FaceLeft"><Transition Input="faceLeftDone" Destination="rest"/></State>
    <State Name="FaceRight"><Transition Input="faceRightDone" Destination="rest"/></State>
    <State Name="FacingRight">
      <Transition Input="true" Destination="yes"/><Transition Input="false" Destination="no"/>
    </State>
    <State Name="yes" State="Idle"/><State Name="no" State="Idle"/>
    <State Name="SetWeapon"><Property Name="Index" Value="2"/><Transition Input="setWeaponDone" Destination="rest"/></State>
    <State Name="DisableBeams"><Transition Input="done" Destination="rest"/></State>
    <State Name="EnableBeams"><Transition Input="done" Destination="rest"/></State>
    <State Name="TurtleHide"><Property Name="Sound" Value="clack"/><Transition Input="hideDone" Destination="rest"/></State>
    <State Name="TurtleUnhide"><Transition Input="unhideDone" Destination="rest"/></State>
    <State Name="TrilobiteDig"><Transition Input="digDone" Destination="rest"/></State>
    <State Name="CanAttack">
      <Transition Input="true" Destination="yes"/><Transition Input="false" Destination="no"/>
    </State>
  </Machine>)";

inline void loadEnemyInstructionFixture() {
    static const bool loaded = [] {
        loadInstructionFixture();
        const std::string wary =
            "<Template>i_base</Template><CollisionGroup>enemies</CollisionGroup><Enemies>player</Enemies>";
        const std::string hunter = wary + "<HasBeenSeenAttackCheck>false</HasBeenSeenAttackCheck>";
        const std::string cannon = hunter + "<Cannon Name=\"maw\" MaxAngle=\"45\"/>";
        addDefinitions(actorRegistry(), "enemy instruction actors", R"(
          <Actor><Name>e_prey</Name><Template>i_base</Template><CollisionGroup>enemies</CollisionGroup>
            <AllyGroup>player</AllyGroup></Actor>
          <Actor><Name>e_stranger</Name><Template>e_prey</Template><AllyGroup>mirethan</AllyGroup></Actor>
          <Actor><Name>e_find</Name><Behavior>e_find</Behavior>)" + hunter + R"(</Actor>
          <Actor><Name>e_wary</Name><Behavior>e_find</Behavior>)" + wary + R"(</Actor>
          <Actor><Name>e_ahead</Name><Behavior>e_ahead</Behavior>)" + hunter + R"(</Actor>
          <Actor><Name>e_gun</Name><Behavior>e_gun</Behavior>)" + cannon + R"(</Actor>
          <Actor><Name>e_aim</Name><Behavior>e_aim</Behavior>)" + cannon + R"(</Actor>
          <Actor><Name>e_scan</Name><Behavior>e_scan</Behavior><Template>i_base</Template>
            <Cannon Name="maw" MaxAngle="28.6478897"/></Actor>
          <Actor><Name>e_block</Name><Behavior>e_block</Behavior><Template>i_base</Template>
            <CollisionGroup>rocks</CollisionGroup><RumbleSound>grind</RumbleSound></Actor>
          <Actor><Name>e_attack</Name><Behavior>e_attack</Behavior><Template>i_base</Template></Actor>
          <Actor><Name>e_side</Name><Behavior>e_side</Behavior><Template>i_base</Template></Actor>
          <Actor><Name>e_look</Name><Behavior>e_look</Behavior><Template>i_base</Template></Actor>
          <Actor><Name>e_muzzle</Name><Template>i_base</Template><ProjectileSpawnOffset>4;-6</ProjectileSpawnOffset>
            <Weapons><Weapon><Name>spout</Name><SpawnOffset>10;0</SpawnOffset></Weapon></Weapons></Actor>
          <Actor><Name>e_turning_muzzle</Name><Template>e_muzzle</Template><CanRotate>true</CanRotate></Actor>
          <Actor><Name>e_moves</Name><Behavior>e_moves</Behavior><Template>i_base</Template>
            <Weapons><Weapon><Name>nip</Name><AttackDamage Amount="1"/></Weapon></Weapons></Actor>)");
        static DefinitionRegistry<BehaviorDefinition> behaviors("Behaviors", "Machine", "Name");
        behaviors.loadText("enemy instruction behaviors",
                           std::string("<Behaviors>") + EnemyInstructionBehaviors + "</Behaviors>");
        buildMachineTable(behaviors, "enemy instruction behaviors", behaviorMachineTable());
        return true;
    }();
    (void)loaded;
}

class EnemyInstructionTest : public InstructionTest {
protected:
    EnemyInstructionTest() { loadEnemyInstructionFixture(); }

    PhysicsSystem& physics() { return *harness.objects().physics(); }

    // Runs the one state of the movement machine for a step.
    void run(ActorObject& actor, const char* instruction, float seconds = 0.1f) {
        actor.behaviorMachine->changeState(instruction);
        tick(actor, seconds);
    }
};

} // namespace zor::test
