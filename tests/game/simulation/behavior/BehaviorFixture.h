#pragma once
// Actors with small behaviours of their own, the test instructions their states run, and
// an EnemySimulator over a World without level, physics or interface.
//
// Instructions: "Count" counts and finishes; "Note" notes the leaf and firstStep and
// waits; "PostGo" notes, posts "go" and finishes; "Keep" asks to be kept active and
// waits; "Vanish" counts, removes its actor and finishes; "Read" reads parameters of
// every kind and finishes; "Bare" notes whether it got any parameters and waits. "Ghost"
// has no handler.

#include "game/simulation/behavior/BehaviorData.h"
#include "game/simulation/behavior/EnemySimulator.h"

#include "game/definitions/ActorDefinition.h"
#include "game/definitions/MachineTables.h"
#include "game/world/World.h"
#include "game/world/entity/BehaviorMachine.h"

#include "Framework/core/math/Randomizer.h"
#include "Framework/system/surface/UpdateRecord.h"
#include "tests/support/game/FixtureDefinitions.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace zor::test {

struct InstructionLog {
    int calls = 0;
    // The leaf each noting instruction ran in, and whether it was the first step there.
    std::vector<std::pair<std::string, bool>> steps;
    bool bareHadParameters = true;
    float bareDelay = 0.0f;
};

inline InstructionLog instructionLog;

inline void note(ActorObject& actor, const BehaviorData& data) {
    instructionLog.steps.emplace_back(actor.behaviorMachine->name(), data.firstStep);
}

inline MachineInstruction countInstruction(ActorObject&, BehaviorData&) {
    ++instructionLog.calls;
    return MachineInstruction::Finished;
}

inline MachineInstruction noteInstruction(ActorObject& actor, BehaviorData& data) {
    note(actor, data);
    return MachineInstruction::Running;
}

inline MachineInstruction postGoInstruction(ActorObject& actor, BehaviorData& data) {
    note(actor, data);
    actor.behaviorMachine->postEvent("go");
    return MachineInstruction::Finished;
}

inline MachineInstruction keepInstruction(ActorObject&, BehaviorData& data) {
    data.keepActive = true;
    return MachineInstruction::Running;
}

inline MachineInstruction vanishInstruction(ActorObject& actor, BehaviorData& data) {
    ++instructionLog.calls;
    data.world->removeEntity(&actor);
    return MachineInstruction::Finished;
}

inline MachineInstruction readInstruction(ActorObject&, BehaviorData& data) {
    const float sum = data.getFloat("MinDelay", 0.0f) + float(data.getInt("Count", 0)) +
                      (data.getBool("Loud", false) ? 1.0f : 0.0f) + data.stepTime();
    instructionLog.calls += data.has("MinDelay") && sum > 0.0f ? 1 : 0;
    return MachineInstruction::Finished;
}

inline MachineInstruction bareInstruction(ActorObject&, BehaviorData& data) {
    instructionLog.bareHadParameters = !data.properties->empty();
    instructionLog.bareDelay = data.getFloat("MinDelay", 7.0f);
    return MachineInstruction::Running;
}

inline const char* const TestActors = R"(
  <Actor>
    <Name>t_base</Name>
    <CollisionBox>-8;-16;16;16</CollisionBox>
    <CollisionGroup>enemies</CollisionGroup>
    <HitPoints>2</HitPoints>
  </Actor>
  <Actor><Name>t_tireless</Name><Template>t_base</Template><Behavior>t_tireless</Behavior></Actor>
  <Actor>
    <Name>t_heart</Name><Template>t_base</Template><Behavior>t_heart</Behavior>
    <HeartBeatTime>2</HeartBeatTime><HeartBeatRandomTime>0</HeartBeatRandomTime>
  </Actor>
  <Actor><Name>t_steps</Name><Template>t_base</Template><Behavior>t_steps</Behavior></Actor>
  <Actor><Name>t_relay</Name><Template>t_base</Template><Behavior>t_relay</Behavior></Actor>
  <Actor><Name>t_ghost</Name><Template>t_base</Template><Behavior>t_ghost</Behavior></Actor>
  <Actor><Name>t_keeper</Name><Template>t_base</Template><Behavior>t_keeper</Behavior></Actor>
  <Actor><Name>t_vanisher</Name><Template>t_base</Template><Behavior>t_vanisher</Behavior></Actor>
  <Actor><Name>t_bare</Name><Template>t_base</Template><Behavior>t_bare</Behavior></Actor>
  <Actor>
    <Name>t_busy</Name><Template>t_base</Template><Behavior>t_busy</Behavior>
    <HeartBeatTime>0.1</HeartBeatTime><HeartBeatRandomTime>0.05</HeartBeatRandomTime>
  </Actor>
  <Actor><Name>t_lost</Name><Template>t_base</Template><Behavior>t_no_such_machine</Behavior></Actor>
  <Actor><Name>t_lost_too</Name><Template>t_base</Template><Behavior>t_no_such_machine</Behavior></Actor>)";

inline const char* const TestBehaviors = R"(
  <Machine><Name>t_tireless</Name><InitialState>Count</InitialState><State Name="Count"/></Machine>
  <Machine><Name>t_heart</Name><InitialState>wait</InitialState>
    <State Name="wait" State="Note"><Transition Input="heartbeat" Destination="" StealInput="false"/></State>
  </Machine>
  <Machine><Name>t_steps</Name><InitialState>a</InitialState>
    <State Name="a" State="Note"><Transition Input="go" Destination="b"/></State>
    <State Name="b" State="Note"><Transition Input="go" Destination="a"/></State>
  </Machine>
  <Machine><Name>t_relay</Name><InitialState>send</InitialState>
    <State Name="send" State="PostGo"><Transition Input="go" Destination="land"/></State>
    <State Name="land" State="Note"/>
  </Machine>
  <Machine><Name>t_ghost</Name><InitialState>g1</InitialState>
    <State Name="g1" State="Ghost"><Transition Input="spin" Destination="g2" StealInput="false"/></State>
    <State Name="g2" State="Ghost"><Transition Input="spin" Destination="g3" StealInput="false"/></State>
    <State Name="g3" State="Ghost"><Transition Input="spin" Destination="g1" StealInput="false"/></State>
  </Machine>
  <Machine><Name>t_keeper</Name><InitialState>Keep</InitialState><State Name="Keep"/></Machine>
  <Machine><Name>t_vanisher</Name><InitialState>Vanish</InitialState><State Name="Vanish"/></Machine>
  <Machine><Name>t_busy_inner</Name><InitialState>read</InitialState>
    <State Name="read" State="Read">
      <Property Name="MinDelay" Value="0.5"/><Property Name="Count" Value="3"/><Property Name="Loud" Value="1"/>
      <Transition Input="heartbeat" Destination="send"/>
    </State>
    <State Name="send" State="PostGo"><Transition Input="go" Destination="read"/></State>
  </Machine>
  <Machine><Name>t_busy</Name><InitialState>work</InitialState>
    <State Name="work" Machine="t_busy_inner" ResetOnEnter="true">
      <Transition Input="playerDestroyedWall" Destination="idle"/>
    </State>
    <State Name="idle" State="Note"><Transition Input="lostWall" Destination="work"/></State>
  </Machine>)";

// Once per test program: the actors, the compiled behaviours, and "t_bare", whose one leaf
// has no definition record.
inline void loadBehaviorFixture() {
    static const bool loaded = [] {
        addDefinitions(actorRegistry(), "test actors", TestActors);
        static DefinitionRegistry<BehaviorDefinition> behaviors("Behaviors", "Machine", "Name");
        behaviors.loadText("test behaviors", std::string("<Behaviors>") + TestBehaviors + "</Behaviors>");
        buildMachineTable(behaviors, "test behaviors", behaviorMachineTable());
        const auto bare = std::make_shared<StateCreationData>("Bare", std::vector<StateCreationData::Transition>{},
                                                              nullptr, nullptr, "", StateCreationData::Children{},
                                                              nullptr);
        behaviorMachineTable()["t_bare"] = StateCreationData::machine("t_bare", "Bare", {bare});
        return true;
    }();
    (void)loaded;
}

inline void registerTestInstructions(EnemySimulator& enemies) {
    enemies.registerInstruction("Count", countInstruction);
    enemies.registerInstruction("Note", noteInstruction);
    enemies.registerInstruction("PostGo", postGoInstruction);
    enemies.registerInstruction("Keep", keepInstruction);
    enemies.registerInstruction("Vanish", vanishInstruction);
    enemies.registerInstruction("Read", readInstruction);
    enemies.registerInstruction("Bare", bareInstruction);
}

class BehaviorTest : public ::testing::Test {
protected:
    void SetUp() override {
        loadBehaviorFixture();
        registerTestInstructions(enemies);
        instructionLog = InstructionLog();
    }

    // A fresh actor with its machine.
    ActorObject& spawn(const std::string& name) {
        ActorObject& actor = *world.spawnActorFacingRight(name, {0, 0});
        enemies.giveMachine(actor);
        return actor;
    }

    static UpdateRecord stepOf(float seconds) {
        UpdateRecord record;
        record.stepLength = seconds;
        return record;
    }

    Randomizer random = Randomizer::fromSeed(5);
    World world{random};
    EnemySimulator enemies{nullptr, world, nullptr};
};

} // namespace zor::test
