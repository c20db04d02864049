#include "game/definitions/MachineDefinition.h"

#include <string>

#include <gtest/gtest.h>

#include "tests/game/definitions/DefinitionTexts.h"

namespace zor {
namespace {

const char* const kFile = "Definitions/behaviors.xml";

std::unique_ptr<DefinitionRegistry<BehaviorDefinition>> machines(const std::string& definitions) {
    return test::loadDefinitions(behaviorRegistry(), kFile, definitions);
}

TEST(MachineDefinition, StatesTransitionsAndProperties) {
    const auto registry = machines(R"(<Machine><Name>guard</Name><InitialState>idle</InitialState>
        <State Name="idle"/>
        <State Machine="walk"/>
        <State Name="strike" State="Attack" Machine="swing" ResetOnEnter="yes">
          <Transition Input="attackDone" Destination="idle"/>
          <Transition Input="hit" Destination="walk" StealInput="false"/>
          <Property Name="Speed" Value="1.5"/><Property Name="Sound" Value=""/><Property Name="Speed" Value="2"/>
        </State>
        <Other Name="not_a_state"/></Machine>)");
    const MachineDefinition& guard = registry->get("guard");
    EXPECT_EQ(guard.name, "guard");
    EXPECT_EQ(guard.initialState, "idle");
    ASSERT_EQ(guard.states.size(), 3u);

    const MachineStateDefinition& idle = guard.states[0];
    EXPECT_EQ(idle.name, "idle");
    EXPECT_EQ(idle.stateText, "idle");
    EXPECT_EQ(idle.subMachine, "");
    EXPECT_FALSE(idle.resetOnEnter);
    EXPECT_TRUE(idle.transitions.empty());
    EXPECT_TRUE(idle.properties.empty());

    // Named after its machine, and its text after its name.
    const MachineStateDefinition& walk = guard.states[1];
    EXPECT_EQ(walk.name, "walk");
    EXPECT_EQ(walk.stateText, "walk");
    EXPECT_EQ(walk.subMachine, "walk");

    const MachineStateDefinition& strike = guard.states[2];
    EXPECT_EQ(strike.stateText, "Attack");
    EXPECT_EQ(strike.subMachine, "swing");
    EXPECT_TRUE(strike.resetOnEnter);
    ASSERT_EQ(strike.transitions.size(), 2u);
    EXPECT_EQ(strike.transitions[0].input, "attackDone");
    EXPECT_EQ(strike.transitions[0].destination, "idle");
    EXPECT_TRUE(strike.transitions[0].stealInput);
    EXPECT_FALSE(strike.transitions[1].stealInput);
    ASSERT_EQ(strike.properties.size(), 2u);
    const MachineProperty& speed = strike.properties.at("Speed");
    EXPECT_EQ(speed.name, "Speed");
    EXPECT_TRUE(speed.value.isSet);
    EXPECT_EQ(std::get<std::string>(speed.value.value), "2"); // the later one
    EXPECT_EQ(valueAsFloat(speed.value), 2.0f);
    EXPECT_EQ(std::get<std::string>(strike.properties.at("Sound").value.value), "");
}

TEST(MachineDefinition, TemplateStatesComeFirst) {
    const auto registry = machines(R"(
        <Machine><Name>base</Name><InitialState>a</InitialState><State Name="a"/><State Name="b"/></Machine>
        <Machine><Name>more</Name><Template>base</Template><InitialState>c</InitialState><State Name="c"/></Machine>)");
    const MachineDefinition& more = registry->get("more");
    ASSERT_EQ(more.states.size(), 3u);
    EXPECT_EQ(more.states[0].name, "a");
    EXPECT_EQ(more.states[2].name, "c");
    EXPECT_EQ(more.initialState, "c");
}

TEST(MachineDefinition, RequiredKeys) {
    const struct {
        const char* body;
        const char* reason;
    } cases[] = {
        {"<Name>m</Name>", "Missing node: /Behaviors/Machine/InitialState"},
        {R"(<Name>m</Name><InitialState>a</InitialState><State Name="a"><Transition Destination="a"/></State>)",
         "Missing attribute: /Behaviors/Machine/State/Transition/@Input"},
        {R"(<Name>m</Name><InitialState>a</InitialState><State Name="a"><Transition Input="x"/></State>)",
         "Missing attribute: /Behaviors/Machine/State/Transition/@Destination"},
        {R"(<Name>m</Name><InitialState>a</InitialState><State Name="a"><Property Value="1"/></State>)",
         "Missing attribute: /Behaviors/Machine/State/Property/@Name"},
        {R"(<Name>m</Name><InitialState>a</InitialState><State Name="a"><Property Name="p"/></State>)",
         "Missing attribute: /Behaviors/Machine/State/Property/@Value"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(test::loadFailure(behaviorRegistry(), kFile, std::string("<Machine>") + c.body + "</Machine>"),
                  test::definitionFailure("Behaviors", "Machine", "m", kFile, c.reason))
            << c.body;
}

} // namespace
} // namespace zor
