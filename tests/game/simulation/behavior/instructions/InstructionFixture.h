#pragma once
// A harness game in the bare fixture room (floor top at y = 320, the player standing at
// x = 120 on it), or in the town for a test that asks for it, with actors and behaviours of
// the instruction tests, stepped one actor at a time through the game's own EnemySimulator
// with step lengths of the test's choosing.
//
// Actors (box -10;-20;20;20 unless said, group npcs, HitPoints 4): "i_<behaviour>" for each
// behaviour below; "i_prober" attached (0, 6); "i_barrel" (box of the player's size, group
// rocks, enemies: player); the podium and pads (group transport, box -20;-40;40;40).
// Upgrades: "i_lens" (banner "banner_lens", first tier "up_lens") and "i_lens_charges"
// (StartWith 3).

#include "game/simulation/GameObjectSimulator.h"
#include "game/simulation/Simulator.h"
#include "game/simulation/behavior/EnemySimulator.h"

#include "game/definitions/ActorDefinition.h"
#include "game/definitions/MachineTables.h"
#include "game/definitions/UpgradeDefinition.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/entity/BehaviorMachine.h"
#include "game/world/entity/NPCBehaviorData.h"

#include "Framework/system/surface/UpdateRecord.h"
#include "tests/support/game/FixtureDefinitions.h"
#include "tests/support/game/GameHarness.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace zor::test {

inline const char* const InstructionBehaviors = R"(
  <Machine><Name>i_never</Name><InitialState>roll</InitialState>
    <State Name="roll" State="Random">
      <Transition Input="true" Destination="yes"/><Transition Input="false" Destination="no"/>
    </State>
    <State Name="yes" State="Idle"/><State Name="no" State="Idle"/>
  </Machine>
  <Machine><Name>i_always</Name><InitialState>roll</InitialState>
    <State Name="roll" State="Random"><Property Name="Chance" Value="1"/>
      <Transition Input="true" Destination="yes"/><Transition Input="false" Destination="no"/>
    </State>
    <State Name="yes" State="Idle"/><State Name="no" State="Idle"/>
  </Machine>
  <Machine><Name>i_delay</Name><InitialState>wait</InitialState>
    <State Name="wait" State="Delay"><Property Name="MinDelay" Value="1"/><Property Name="MaxDelay" Value="1"/>
      <Transition Input="delayDone" Destination="over"/>
    </State>
    <State Name="over" State="Idle"/>
  </Machine>
  <Machine><Name>i_shared_delay</Name><InitialState>first</InitialState>
    <State Name="first" State="Delay"><Property Name="CustomTimer" Value="patrol"/>
      <Property Name="MinDelay" Value="1"/><Property Name="MaxDelay" Value="1"/>
      <Transition Input="go" Destination="second"/>
    </State>
    <State Name="second" State="Delay"><Property Name="CustomTimer" Value="patrol"/>
      <Property Name="MinDelay" Value="5"/><Property Name="MaxDelay" Value="5"/>
      <Transition Input="go" Destination="first"/>
      <Transition Input="delayDone" Destination="" StealInput="false"/>
    </State>
  </Machine>
  <Machine><Name>i_reset</Name><InitialState>reset</InitialState>
    <State Name="reset" State="ResetHeartBeat"><Transition Input="done" Destination="rest"/></State>
    <State Name="rest" State="Idle"/>
  </Machine>
  <Machine><Name>i_clear</Name><InitialState>clear</InitialState>
    <State Name="clear" State="ClearInputs">
      <Transition Input="clearDone" Destination="after" StealInput="false"/>
    </State>
    <State Name="after" State="Idle">
      <Transition Input="first" Destination="clear"/><Transition Input="second" Destination="clear"/>
    </State>
  </Machine>
  <Machine><Name>i_both</Name><InitialState>run</InitialState>
    <State Name="run" State="CompositeState">
      <Property Name="State0" Value="SetGoodLoot"/><Property Name="State1" Value="StopUpdate"/>
      <Transition Input="done" Destination="after"/>
    </State>
    <State Name="after" State="Idle"/>
  </Machine>
  <Machine><Name>i_headless</Name><InitialState>run</InitialState>
    <State Name="run" State="CompositeState">
      <Property Name="State1" Value="SetGoodLoot"/>
      <Transition Input="setGoodLootDone" Destination="after"/>
    </State>
    <State Name="after" State="Idle"/>
  </Machine>
  <Machine><Name>i_gap</Name><InitialState>run</InitialState>
    <State Name="run" State="CompositeState">
      <Property Name="State0" Value="SetGoodLoot"/><Property Name="State1" Value="NoSuchInstruction"/>
      <Property Name="State2" Value="SetActivateBarrels"/><Property Name="ActivateBarrels" Value="1"/>
      <Transition Input="setGoodLootDone" Destination="after"/>
    </State>
    <State Name="after" State="Idle"/>
  </Machine>
  <Machine><Name>i_nested</Name><InitialState>run</InitialState>
    <State Name="run" State="CompositeState">
      <Property Name="State0" Value="CompositeState"/><Property Name="State1" Value="SetGoodLoot"/>
      <Transition Input="setGoodLootDone" Destination="after"/>
    </State>
    <State Name="after" State="Idle"/>
  </Machine>
  <Machine><Name>i_finishing</Name><InitialState>run</InitialState>
    <State Name="run" State="CompositeState">
      <Property Name="State0" Value="SetGoodLoot"/><Property Name="State1" Value="FlipCoin"/>
      <Transition Input="setGoodLootDone" Destination="after"/>
    </State>
    <State Name="after" State="Idle"/>
  </Machine>
  <Machine><Name>i_flags</Name><InitialState>spawn</InitialState>
    <State Name="spawn" State="Spawn"><Property Name="SpawnEnemy" Value="crawler"/>
      <Transition Input="spawnDone" Destination="loot"/></State>
    <State Name="loot" State="SetGoodLoot"><Transition Input="setGoodLootDone" Destination="edge"/></State>
    <State Name="edge" State="SetCheckEdgeTimer"><Property Name="Time" Value="0.4"/>
      <Transition Input="done" Destination="barrels"/></State>
    <State Name="barrels" State="SetActivateBarrels"><Property Name="ActivateBarrels" Value="1"/>
      <Transition Input="done" Destination="sound"/></State>
    <State Name="sound" State="PlaySound"><Property Name="SoundCue" Value="creak"/>
      <Transition Input="done" Destination="look"/></State>
    <State Name="look" State="SimpleAnimation">
      <Property Name="Animation" Value="wobble"/><Property Name="PlayOnce" Value="1"/>
      <Transition Input="done" Destination="show"/></State>
    <State Name="show" State="TriggerAnimation"><Property Name="Animation" Value="hide"/>
      <Transition Input="done" Destination="vanish"/></State>
    <State Name="vanish" State="Zombiefy"/>
  </Machine>
  <Machine><Name>i_probe</Name><InitialState>probe</InitialState>
    <State Name="probe" State="HasGround">
      <Transition Input="true" Destination="yes"/><Transition Input="false" Destination="no"/>
    </State>
    <State Name="yes" State="Idle"/><State Name="no" State="Idle"/>
  </Machine>
  <Machine><Name>i_check</Name><InitialState>check</InitialState>
    <State Name="check" State="CheckGround"><Property Name="WakeTime" Value="0.5"/>
      <Transition Input="lostWall" Destination="check" StealInput="false"/>
    </State>
  </Machine>
  <Machine><Name>i_suicide</Name><InitialState>end</InitialState><State Name="end" State="Suicide"/></Machine>
  <Machine><Name>i_patrol</Name><InitialState>stroll</InitialState>
    <State Name="stroll" State="Patrol"><Transition Input="foundCogsby" Destination="greet"/></State>
    <State Name="greet" State="WaitOnCogsby"><Transition Input="lostCogsby" Destination="stroll"/></State>
  </Machine>
  <Machine><Name>i_walk</Name><InitialState>walk</InitialState>
    <State Name="walk" State="WalkTo"><Transition Input="atTarget" Destination="stand"/></State>
    <State Name="stand" State="Stop"/>
  </Machine>
  <Machine><Name>i_barrel</Name><InitialState>idle</InitialState><State Name="idle" State="BarrelIdle"/></Machine>
  <Machine><Name>i_podium</Name><InitialState>serve</InitialState>
    <State Name="serve" State="PodiumUpdate">
      <Transition Input="done" Destination="serve" StealInput="false"/>
    </State>
  </Machine>
  <Machine><Name>i_pad</Name><InitialState>serve</InitialState><State Name="serve" State="Teleporter"/></Machine>
  <Machine><Name>i_town_pad</Name><InitialState>show</InitialState>
    <State Name="show" State="TownTeleporterVisibility"><Transition Input="done" Destination="serve"/></State>
    <State Name="serve" State="Teleporter"/>
  </Machine>
  <Machine><Name>i_remove_pad</Name><InitialState>go</InitialState>
    <State Name="go" State="DeleteTeleporter"/>
  </Machine>)";

inline std::string instructionActor(const std::string& behavior, const std::string& extra = "") {
    return "<Actor><Name>i_" + behavior + "</Name><Template>i_base</Template><Behavior>i_" + behavior +
           "</Behavior>" + extra + "</Actor>";
}

// Once per test program, before the first harness.
inline void loadInstructionFixture() {
    static const bool loaded = [] {
        loadFixtureDefinitions();
        std::string actors = R"(
          <Actor>
            <Name>i_base</Name>
            <CollisionBox>-10;-20;20;20</CollisionBox>
            <CollisionGroup>npcs</CollisionGroup>
            <HitPoints>4</HitPoints>
          </Actor>
          <Actor>
            <Name>i_prober</Name><Template>i_base</Template><Behavior>i_probe</Behavior>
            <AttachedDirection>0;6</AttachedDirection>
          </Actor>
          <Actor>
            <Name>i_barrel</Name><Template>i_base</Template><Behavior>i_barrel</Behavior>
            <CollisionBox>-10;-34;20;34</CollisionBox><CollisionGroup>rocks</CollisionGroup>
            <Enemies>player</Enemies>
          </Actor>)";
        for (const char* behavior : {"never", "always", "delay", "shared_delay", "clear", "both", "headless", "gap",
                                     "nested", "finishing", "check", "suicide", "patrol", "walk", "flags"})
            actors += instructionActor(behavior);
        actors += instructionActor("reset",
                                   "<HeartBeatTime>3</HeartBeatTime><HeartBeatRandomTime>0</HeartBeatRandomTime>");
        const std::string padBox =
            "<CollisionBox>-20;-40;40;40</CollisionBox><CollisionGroup>transport</CollisionGroup>";
        for (const char* behavior : {"podium", "pad", "town_pad", "remove_pad"})
            actors += instructionActor(behavior, padBox);
        addDefinitions(actorRegistry(), "instruction actors", actors);
        addDefinitions(upgradeRegistry(), "instruction upgrades", R"(
          <Upgrade><Name>i_lens</Name><BannerHeaderId>banner_lens</BannerHeaderId>
            <Tiers><Tier Title="up_lens" Desc="up_lens_desc" CostGold="1" CostOrbs="0"/></Tiers>
          </Upgrade>
          <Upgrade><Name>i_lens_charges</Name><StartWith>3</StartWith>
            <Tiers><Tier Title="up_charges" Desc="up_charges_desc" CostGold="1" CostOrbs="0"/></Tiers>
          </Upgrade>)");
        static DefinitionRegistry<BehaviorDefinition> behaviors("Behaviors", "Machine", "Name");
        behaviors.loadText("instruction behaviors", std::string("<Behaviors>") + InstructionBehaviors + "</Behaviors>");
        buildMachineTable(behaviors, "instruction behaviors", behaviorMachineTable());
        return true;
    }();
    (void)loaded;
}

class InstructionTest : public ::testing::Test {
protected:
    explicit InstructionTest(const char* level = "fixture_deep")
        : harness((loadInstructionFixture(), HarnessOptions(11, level))) {}

    World& world() { return harness.world(); }
    ActorObject& player() { return *harness.world().player(); }
    EnemySimulator& enemies() { return harness.objects().enemySimulator(); }

    ActorObject& spawn(const std::string& name, const fpVector2& position) {
        ActorObject& actor = *world().spawnActorFacingRight(name, position);
        // Wherever the spawn settled it, the test decides.
        actor.setPosition(position);
        return actor;
    }

    // One game step of the actor's behaviour.
    void tick(ActorObject& actor, float seconds) {
        UpdateRecord record;
        record.stepLength = seconds;
        enemies().tickActor(actor, record);
    }

    static std::string state(const ActorObject& actor) { return actor.behaviorMachine->name(); }
    // Whether the input is pending; taking it leaves it pending.
    static bool pending(const ActorObject& actor, const std::string& input) {
        return actor.behaviorMachine->takeInput(input, false);
    }

    GameHarness harness;
};

} // namespace zor::test
