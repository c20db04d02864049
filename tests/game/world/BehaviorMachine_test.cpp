// Running machines over compiled definitions: inputs are flags that only update acts on.

#include "game/world/entity/BehaviorMachine.h"

#include "game/definitions/MachineTables.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace zor {
namespace {

std::shared_ptr<BehaviorMachine> machineFrom(const std::string& definition) {
    DefinitionRegistry<MachineDefinition> registry("Animations", "Animation", "Name");
    registry.loadText("test animations", "<Animations>" + definition + "</Animations>");
    MachineTable table;
    buildMachineTable(registry, "test animations", table);
    return makeBehaviorMachine(table.at(registry.definitions().back()->name));
}

TEST(BehaviorMachine, InputsWaitForUpdateWhichTakesTheFirstPendingTransition) {
    const auto machine = machineFrom(R"(
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
    const auto machine = machineFrom(R"(
      <Animation><Name>blink</Name><InitialState>on</InitialState>
        <State Name="on"><Transition Input="tick" Destination="off" StealInput="false"/></State>
        <State Name="off"><Transition Input="tick" Destination="on" StealInput="false"/></State>
      </Animation>)");
    machine->postEvent("tick");
    EXPECT_TRUE(machine->update());
    // Still pending: the next update moves again.
    const std::string after = machine->name();
    EXPECT_TRUE(machine->update());
    EXPECT_EQ(machine->name(), after);
}

} // namespace
} // namespace zor
