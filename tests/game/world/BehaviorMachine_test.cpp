// Running machines over compiled definitions: inputs are flags that only update acts on,
// nested machines take their inputs first, and re-entering one resumes or restarts it.

#include "game/world/entity/BehaviorMachine.h"

#include "game/definitions/MachineTables.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace zor {
namespace {

// Machines compiled from animation texts; the definitions live as long as the records.
class Machines {
public:
    explicit Machines(const std::string& definitions) {
        m_registry.loadText("test machines", "<Animations>" + definitions + "</Animations>");
        buildMachineTable(m_registry, "test machines", m_table);
    }

    std::shared_ptr<BehaviorMachine> make(const std::string& name) const { return makeBehaviorMachine(m_table.at(name)); }

    // Logs every enter and exit of the states of the named machine, nested ones included,
    // as "enter <state> from <state or ->" and "exit <state> to <state>".
    void recordCallbacks(const std::string& name, std::vector<std::string>& log) {
        record(*m_table.at(name), log);
    }

private:
    static void record(StateCreationData& machine, std::vector<std::string>& log) {
        for (const auto& state : machine.children) {
            state->onEnter = [&log](BehaviorMachineState& self, BehaviorMachineState* previous) {
                log.push_back("enter " + self.record().name + " from " + (previous ? previous->record().name : "-"));
            };
            state->onExit = [&log](BehaviorMachineState& self, BehaviorMachineState* next) {
                log.push_back("exit " + self.record().name + " to " + (next ? next->record().name : "-"));
            };
            record(*state, log);
        }
    }

    DefinitionRegistry<MachineDefinition> m_registry{"Animations", "Animation", "Name"};
    MachineTable m_table;
};

BehaviorMachine& nested(BehaviorMachine& machine) { return dynamic_cast<BehaviorMachine&>(machine.currentState()); }

// "walker" runs "gait" in its state "moving"; the reset flag of that state is filled in.
std::string walker(const char* resetOnEnter) {
    return std::string(R"(
      <Animation><Name>gait</Name><InitialState>step</InitialState>
        <State Name="step"><Transition Input="tire" Destination="shuffle"/></State>
        <State Name="shuffle"><Transition Input="rest" Destination="step"/></State>
      </Animation>
      <Animation><Name>walker</Name><InitialState>idle</InitialState>
        <State Name="idle"><Property Name="Loop" Value="1"/><Transition Input="walk" Destination="moving"/></State>
        <State Name="moving" Machine="gait" ResetOnEnter=")") +
           resetOnEnter + R"(">
          <Transition Input="halt" Destination="idle"/>
          <Transition Input="again" Destination="moving"/>
        </State>
      </Animation>)";
}

TEST(BehaviorMachine, InputsWaitForUpdateWhichTakesTheFirstPendingTransition) {
    const Machines machines(R"(
      <Animation><Name>door</Name><InitialState>shut</InitialState>
        <State Name="shut">
          <Transition Input="knock" Destination=""/>
          <Transition Input="push" Destination="open"/>
          <Transition Input="kick" Destination="broken"/>
        </State>
        <State Name="open">
          <Transition Input="push" Destination="shut"/>
          <Transition Input="knock" Destination="broken"/>
        </State>
        <State Name="broken"/>
      </Animation>)");
    const auto machine = machines.make("door");
    EXPECT_EQ(machine->name(), "shut");
    EXPECT_FALSE(machine->update());
    EXPECT_FALSE(machine->postEvent("wave"));
    EXPECT_FALSE(machine->update());

    // A transition without destination eats its input without moving.
    EXPECT_TRUE(machine->postEvent("knock"));
    EXPECT_FALSE(machine->update());
    EXPECT_EQ(machine->name(), "shut");

    EXPECT_TRUE(machine->postEvent("push"));
    EXPECT_TRUE(machine->postEvent("push"));  // a flag, not a count
    EXPECT_EQ(machine->name(), "shut");
    EXPECT_TRUE(machine->update());
    EXPECT_EQ(machine->name(), "open");  // the knock was eaten, the push stolen
    EXPECT_FALSE(machine->update());

    // An input the current state does not answer waits for one that does.
    machine->postEvent("kick");
    EXPECT_FALSE(machine->update());
    machine->postEvent("push");
    EXPECT_TRUE(machine->update());
    EXPECT_EQ(machine->name(), "broken");
}

TEST(BehaviorMachine, AnInputThatIsNeverStolenCannotKeepUpdateGoing) {
    const Machines machines(R"(
      <Animation><Name>blink</Name><InitialState>on</InitialState>
        <State Name="on"><Transition Input="tick" Destination="off" StealInput="false"/></State>
        <State Name="off"><Transition Input="tick" Destination="on" StealInput="false"/></State>
      </Animation>)");
    const auto machine = machines.make("blink");
    machine->postEvent("tick");
    EXPECT_TRUE(machine->update());
    // Still pending: the next update moves again.
    const std::string after = machine->name();
    EXPECT_TRUE(machine->update());
    EXPECT_EQ(machine->name(), after);
}

TEST(BehaviorMachine, ACycleStopsAfterSixtyFourTransitionsWithItsInputStillPending) {
    Machines machines(R"(
      <Animation><Name>wheel</Name><InitialState>red</InitialState>
        <State Name="red"><Transition Input="spin" Destination="green" StealInput="false"/></State>
        <State Name="green"><Transition Input="spin" Destination="blue" StealInput="false"/></State>
        <State Name="blue"><Transition Input="spin" Destination="red" StealInput="false"/></State>
      </Animation>)");
    std::vector<std::string> log;
    machines.recordCallbacks("wheel", log);
    const auto machine = machines.make("wheel");
    log.clear();
    machine->postEvent("spin");
    EXPECT_TRUE(machine->update());
    EXPECT_EQ(log.size(), 2u * 64u);  // an exit and an enter per transition
    EXPECT_EQ(machine->name(), "green");  // 64 = 3 x 21 + 1 turns
    EXPECT_TRUE(machine->takeInput("spin", false));
}

TEST(BehaviorMachine, ANestedMachineStartsFirstAndTakesItsInputsBeforeItsParent) {
    Machines machines(walker("false"));
    std::vector<std::string> log;
    machines.recordCallbacks("walker", log);
    const auto machine = machines.make("walker");
    // The nested machine entered its initial state while it was built; the first enter of
    // a machine has no previous state.
    EXPECT_EQ(log, (std::vector<std::string>{"enter step from -", "enter idle from -"}));
    EXPECT_EQ(machine->name(), "idle");
    ASSERT_NE(machine->data(), nullptr);
    EXPECT_EQ(machine->data()->properties.count("Loop"), 1u);

    machine->postEvent("walk");
    EXPECT_TRUE(machine->update());
    // name and data reach the leaf of the nested machine.
    EXPECT_EQ(machine->currentStateName(), "moving");
    EXPECT_EQ(machine->name(), "step");
    EXPECT_EQ(machine->data()->name, "step");

    // The nested machine moves first; its parent then returns without testing its own.
    machine->postEvent("tire");
    machine->postEvent("halt");
    EXPECT_TRUE(machine->update());
    EXPECT_EQ(machine->name(), "shuffle");
    EXPECT_TRUE(machine->hasPendingInput());
    EXPECT_TRUE(machine->update());
    EXPECT_EQ(machine->name(), "idle");
}

TEST(BehaviorMachine, EnclosingMasksAreTestedAndStolenFirst) {
    const Machines machines(walker("false"));
    const auto machine = machines.make("walker");
    machine->postEvent("walk");
    machine->update();
    BehaviorMachine& gait = nested(*machine);

    // Nothing pending above: the nested machine is not even asked.
    gait.postEvent("tire");
    EXPECT_FALSE(machine->update());
    EXPECT_EQ(machine->name(), "step");
    EXPECT_TRUE(gait.update());
    EXPECT_EQ(machine->name(), "shuffle");
    EXPECT_EQ(gait.inputMask(), 0u);

    // "rest" is in both masks: the parent's bit is the one stolen.
    gait.postEvent("rest");
    machine->postEvent("rest");
    const std::uint32_t restBit = gait.inputMask();
    EXPECT_TRUE(machine->update());
    EXPECT_EQ(machine->name(), "step");
    EXPECT_EQ(machine->inputMask(), 0u);
    EXPECT_EQ(gait.inputMask(), restBit);
    EXPECT_TRUE(gait.hasPendingInput());
    EXPECT_FALSE(machine->hasPendingInput());
}

TEST(BehaviorMachine, ATransitionToTheCurrentStateEntersNothing) {
    Machines machines(walker("true"));
    std::vector<std::string> log;
    machines.recordCallbacks("walker", log);
    const auto machine = machines.make("walker");
    machine->postEvent("walk");
    machine->update();
    machine->postEvent("tire");
    machine->update();
    log.clear();

    machine->postEvent("again");
    EXPECT_TRUE(machine->update());  // taken, although nothing moved
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(machine->name(), "shuffle");  // enter() would have reset the nested machine
    EXPECT_FALSE(machine->changeState("nowhere"));
    EXPECT_TRUE(machine->changeState("moving"));
    EXPECT_TRUE(log.empty());
}

TEST(BehaviorMachine, ReenteringANestedMachineResumesItOrWithResetOnEnterRestartsIt) {
    const struct {
        const char* resetOnEnter;
        bool tireBeforeLeaving;
        const char* leaf;
        std::vector<std::string> log;
    } cases[] = {
        {"false", true, "shuffle", {"exit idle to moving", "enter moving from idle"}},
        {"true",
         true,
         "step",
         {"exit idle to moving", "enter moving from idle", "exit shuffle to step", "enter step from shuffle"}},
        // Already in its initial state: the reset moves nothing.
        {"true", false, "step", {"exit idle to moving", "enter moving from idle"}},
    };
    for (const auto& c : cases) {
        Machines machines(walker(c.resetOnEnter));
        std::vector<std::string> log;
        machines.recordCallbacks("walker", log);
        const auto machine = machines.make("walker");
        machine->postEvent("walk");
        machine->update();
        if (c.tireBeforeLeaving) {
            machine->postEvent("tire");
            machine->update();
        }
        machine->postEvent("halt");
        machine->update();
        ASSERT_EQ(machine->name(), "idle");
        log.clear();
        machine->postEvent("walk");
        EXPECT_TRUE(machine->update());
        EXPECT_EQ(machine->name(), c.leaf) << c.resetOnEnter << " " << c.tireBeforeLeaving;
        EXPECT_EQ(log, c.log) << c.resetOnEnter << " " << c.tireBeforeLeaving;
    }
}

TEST(BehaviorMachine, AnEmptyDestinationConsumesItsInputAndTheNextTransitionIsTested) {
    const Machines machines(R"(
      <Animation><Name>m</Name><InitialState>a</InitialState>
        <State Name="a">
          <Transition Input="x" Destination=""/>
          <Transition Input="x" Destination="c"/>
          <Transition Input="y" Destination="b"/>
        </State>
        <State Name="b"><Transition Input="x" Destination="c"/></State>
        <State Name="c"/>
      </Animation>)");
    const auto machine = machines.make("m");
    machine->postEvent("x");
    machine->postEvent("y");
    EXPECT_TRUE(machine->update());
    EXPECT_EQ(machine->name(), "b");
    EXPECT_FALSE(machine->hasPendingInput());
}

TEST(BehaviorMachine, InputsAreBitsOfOneTableSharedByTheTreeInOrderOfFirstUse) {
    std::string states;
    for (int i = 0; i <= 32; ++i)
        states += "<Transition Input=\"i" + std::to_string(i) + "\" Destination=\"\"/>";
    const Machines machines(R"(
      <Animation><Name>sub</Name><InitialState>inner</InitialState>
        <State Name="inner"><Transition Input="c" Destination=""/></State>
      </Animation>
      <Animation><Name>order</Name><InitialState>first</InitialState>
        <State Name="first"><Transition Input="a" Destination=""/></State>
        <State Name="held" Machine="sub"><Transition Input="b" Destination=""/></State>
      </Animation>
      <Animation><Name>wide</Name><InitialState>s</InitialState><State Name="s">)" +
                            states + "</State></Animation>");

    // A nested machine's inputs are counted before those of the state that runs it.
    const struct {
        const char* input;
        std::uint32_t mask;
    } cases[] = {{"a", 1u}, {"c", 2u}, {"b", 4u}};
    for (const auto& c : cases) {
        const auto machine = machines.make("order");
        EXPECT_TRUE(machine->postEvent(c.input));
        EXPECT_EQ(machine->inputMask(), c.mask) << c.input;
    }

    const auto wide = machines.make("wide");
    wide->postEvent("i32");
    EXPECT_EQ(wide->inputMask(), 1u);
    wide->postEvent("i32");
    EXPECT_TRUE(wide->takeInput("i0", true));  // stolen once: gone, although posted twice
    EXPECT_FALSE(wide->takeInput("i32", false));
    EXPECT_FALSE(wide->takeInput("unknown", false));
    EXPECT_EQ(wide->inputMask(), 0u);
}

TEST(BehaviorMachine, ARecordWhoseStateNamesNoStateIsRefused) {
    const auto leaf = std::make_shared<StateCreationData>("a", std::vector<StateCreationData::Transition>{},
                                                          nullptr, nullptr, "", StateCreationData::Children{},
                                                          nullptr);
    const auto badDestination = std::make_shared<StateCreationData>(
        "b", std::vector<StateCreationData::Transition>{{"go", {"go", "nowhere", true}}}, nullptr, nullptr, "",
        StateCreationData::Children{}, nullptr);
    const struct {
        std::shared_ptr<StateCreationData> record;
        const char* error;
    } cases[] = {
        {StateCreationData::machine("lost", "nowhere", {leaf}),
         "Could not make the machine 'lost': 'nowhere' names none of its states"},
        {StateCreationData::machine("astray", "a", {leaf, badDestination}),
         "Could not make the machine 'astray': 'nowhere' names none of its states"},
    };
    for (const auto& c : cases) {
        try {
            makeBehaviorMachine(c.record);
            ADD_FAILURE() << "no error for " << c.record->name;
        } catch (const CheckReleaseError& error) {
            EXPECT_EQ(std::string(error.what()), c.error);
        }
    }
}

} // namespace
} // namespace zor
