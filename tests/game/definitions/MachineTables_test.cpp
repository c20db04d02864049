#include "game/definitions/MachineTables.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/game/definitions/DefinitionTexts.h"

namespace zor {
namespace {

const char* const kFile = "Definitions/animations.xml";

struct Compiled {
    std::unique_ptr<DefinitionRegistry<AnimationDefinition>> definitions;
    MachineTable table;
};

Compiled compile(const std::string& machines) {
    Compiled compiled{test::loadDefinitions(animationRegistry(), kFile, machines), {}};
    buildMachineTable(*compiled.definitions, kFile, compiled.table);
    return compiled;
}

std::vector<std::string> names(const StateCreationData::Children& children) {
    std::vector<std::string> result;
    for (const auto& child : children)
        result.push_back(child->name);
    return result;
}

std::vector<std::string> inputs(const StateCreationData& state) {
    std::vector<std::string> result;
    for (const auto& transition : state.transitions)
        result.push_back(transition.input + ">" + transition.definition.destination);
    return result;
}

const char* const kMachines = R"(
    <Animation><Name>legs</Name><InitialState>stand</InitialState>
      <State Name="stand"><Transition Input="walk" Destination="step"/></State>
      <State Name="step" State="walk_cycle"><Transition Input="stop" Destination="stand" StealInput="false"/></State>
    </Animation>
    <Animation><Name>body</Name><InitialState>idle</InitialState>
      <State Name="idle"><Property Name="Loop" Value="1"/></State>
      <State Name="moving" Machine="legs" ResetOnEnter="true"><Transition Input="halt" Destination="idle"/></State>
    </Animation>
    <Animation><Name>crawler</Name><InitialState>legs</InitialState>
      <State Machine="legs"/>
    </Animation>)";

TEST(MachineTables, MachinesLeavesAndSubMachines) {
    const Compiled compiled = compile(kMachines);
    ASSERT_EQ(compiled.table.size(), 3u);

    const StateCreationData& legs = *compiled.table.at("legs");
    EXPECT_EQ(legs.name, "legs");
    EXPECT_EQ(legs.initialState, "stand");
    EXPECT_EQ(legs.definition, nullptr);
    EXPECT_FALSE(legs.resetOnEnter);
    EXPECT_TRUE(legs.transitions.empty());
    EXPECT_FALSE(legs.onEnter || legs.onExit);
    ASSERT_EQ(names(legs.children), (std::vector<std::string>{"stand", "step"}));
    const StateCreationData& step = *legs.children[1];
    EXPECT_TRUE(step.children.empty());
    EXPECT_EQ(step.initialState, "");
    EXPECT_EQ(step.definition, &compiled.definitions->get("legs").states[1]);
    EXPECT_EQ(step.definition->stateText, "walk_cycle");
    EXPECT_EQ(inputs(step), std::vector<std::string>{"stop>stand"});
    EXPECT_FALSE(step.transitions[0].definition.stealInput);

    // A sub-machine state: the sub-machine's states, initial state and transitions, then
    // the state's own transitions and its reset flag.
    const StateCreationData& body = *compiled.table.at("body");
    ASSERT_EQ(names(body.children), (std::vector<std::string>{"idle", "moving"}));
    const StateCreationData& moving = *body.children[1];
    EXPECT_EQ(moving.initialState, "stand");
    EXPECT_EQ(moving.definition, nullptr);
    EXPECT_TRUE(moving.resetOnEnter);
    EXPECT_EQ(inputs(moving), std::vector<std::string>{"halt>idle"});
    EXPECT_EQ(names(moving.children), (std::vector<std::string>{"stand", "step"}));
    EXPECT_EQ(moving.children[1]->definition, step.definition); // the definitions are shared
    EXPECT_EQ(body.children[0]->definition->properties.at("Loop").name, "Loop");
}

TEST(MachineTables, EveryUseOfASubMachineIsADeepCopy) {
    const Compiled compiled = compile(kMachines);
    const StateCreationData& legs = *compiled.table.at("legs");
    const StateCreationData& moving = *compiled.table.at("body")->children[1];
    const StateCreationData& crawlerLegs = *compiled.table.at("crawler")->children[0];
    for (std::size_t i = 0; i < legs.children.size(); ++i) {
        EXPECT_NE(moving.children[i], legs.children[i]);
        EXPECT_NE(crawlerLegs.children[i], legs.children[i]);
        EXPECT_NE(crawlerLegs.children[i], moving.children[i]);
    }
    // Changing one tree reaches none of the others.
    moving.children[0]->name = "changed";
    moving.children[0]->transitions.clear();
    EXPECT_EQ(legs.children[0]->name, "stand");
    EXPECT_EQ(crawlerLegs.children[0]->name, "stand");
    EXPECT_EQ(inputs(*crawlerLegs.children[0]), std::vector<std::string>{"walk>step"});
}

TEST(MachineTables, StateCreationDataCopiesAreDeep) {
    const Compiled compiled = compile(kMachines);
    const StateCreationData& body = *compiled.table.at("body");
    const StateCreationData copy(body);
    EXPECT_EQ(names(copy.children), names(body.children));
    EXPECT_NE(copy.children[1], body.children[1]);
    EXPECT_NE(copy.children[1]->children[0], body.children[1]->children[0]);
    EXPECT_EQ(copy.children[1]->children[0]->definition, body.children[1]->children[0]->definition);

    // The entry operations: callables and every field carried through a merge.
    const StateCreationData base("sub", {{"a", {"a", "x", true}}}, [](BehaviorMachineState&, BehaviorMachineState*) {},
                                 nullptr, "x", body.children, nullptr);
    const auto merged = StateCreationData::subMachineState("placed", base, {{"b", {"b", "y", false}}}, true);
    EXPECT_EQ(merged->name, "placed");
    EXPECT_EQ(inputs(*merged), (std::vector<std::string>{"a>x", "b>y"}));
    EXPECT_TRUE(static_cast<bool>(merged->onEnter));
    EXPECT_FALSE(static_cast<bool>(merged->onExit));
    EXPECT_EQ(merged->initialState, "x");
    EXPECT_TRUE(merged->resetOnEnter);
    EXPECT_NE(merged->children[0], base.children[0]);
    EXPECT_NE(base.children[0], body.children[0]);
    EXPECT_TRUE(emptyStateProperties().empty());
}

TEST(MachineTables, LaterMachineOfTheSameNameWins) {
    const Compiled compiled = compile(R"(
        <Animation><Name>m</Name><InitialState>a</InitialState><State Name="a"/></Animation>
        <Animation><Name>user</Name><InitialState>m</InitialState><State Machine="m"/></Animation>
        <Animation><Name>m</Name><InitialState>b</InitialState><State Name="b"/><State Name="c"/></Animation>)");
    EXPECT_EQ(compiled.table.at("m")->initialState, "b");
    EXPECT_EQ(names(compiled.table.at("m")->children), (std::vector<std::string>{"b", "c"}));
    // The user copied the machine as it was when the user was built.
    EXPECT_EQ(names(compiled.table.at("user")->children[0]->children), std::vector<std::string>{"a"});
    EXPECT_EQ(compiled.definitions->get("m").initialState, "a"); // the registry finds the first
}

// A sub-machine must be built before a state can copy it; anything else is refused with
// the file and both machines named, and no empty entry is left in the table.
TEST(MachineTables, SubMachineNotBuiltYetFailsTheBuild) {
    const struct {
        const char* machines;
        const char* machine;
        const char* state;
        const char* subMachine;
    } cases[] = {
        {R"(<Animation><Name>early</Name><InitialState>s</InitialState><State Name="s" Machine="late"/></Animation>
            <Animation><Name>late</Name><InitialState>a</InitialState><State Name="a"/></Animation>)",
         "early", "s", "late"},
        {R"(<Animation><Name>self</Name><InitialState>self</InitialState><State Machine="self"/></Animation>)", "self",
         "self", "self"},
        {R"(<Animation><Name>ok</Name><InitialState>a</InitialState><State Name="a"/></Animation>
            <Animation><Name>lost</Name><InitialState>a</InitialState><State Name="a" Machine="nowhere"/></Animation>)",
         "lost", "a", "nowhere"},
    };
    for (const auto& c : cases) {
        const auto definitions = test::loadDefinitions(animationRegistry(), kFile, c.machines);
        MachineTable table;
        try {
            buildMachineTable(*definitions, kFile, table);
            ADD_FAILURE() << "no error for " << c.machine;
        } catch (const CheckReleaseError& error) {
            EXPECT_EQ(std::string(error.what()),
                      std::string("Could not build Animation definition '") + c.machine +
                          "' in file 'Definitions/animations.xml', reason: its state '" + c.state +
                          "' runs the machine '" + c.subMachine + "', which is not defined before it in the file");
        }
        EXPECT_EQ(table.count(c.subMachine), 0u);
        EXPECT_EQ(table.count(c.machine), 0u);
        for (const auto& [name, record] : table)
            EXPECT_NE(record, nullptr) << name;
    }
}

// A machine could not run from a state that does not exist: the build refuses it, names the
// machine and the state, and leaves no entry for it; an empty destination is allowed.
TEST(MachineTables, StateNamesThatNameNoStateFailTheBuild) {
    const struct {
        const char* machines;
        const char* failure; // null: builds
    } cases[] = {
        {R"(<Machine><Name>m</Name><InitialState>nowhere</InitialState><State Name="a"/></Machine>)",
         "its initial state 'nowhere' names no state of the machine"},
        {R"(<Machine><Name>m</Name><InitialState>a</InitialState></Machine>)",
         "its initial state 'a' names no state of the machine"},
        {R"(<Machine><Name>m</Name><InitialState>a</InitialState>
              <State Name="a"><Transition Input="go" Destination="b"/></State>
              <State Name="b"><Transition Input="back" Destination="A"/></State></Machine>)",
         "its state 'b' has a transition on 'back' to 'A', which names no state of the machine"},
        // A destination names a state of the machine itself, not one of a machine it runs.
        {R"(<Machine><Name>sub</Name><InitialState>inner</InitialState><State Name="inner"/></Machine>
            <Machine><Name>m</Name><InitialState>sub</InitialState>
              <State Machine="sub"><Transition Input="go" Destination="inner"/></State></Machine>)",
         "its state 'sub' has a transition on 'go' to 'inner', which names no state of the machine"},
        {R"(<Machine><Name>m</Name><InitialState>a</InitialState>
              <State Name="a"><Transition Input="eat" Destination=""/><Transition Input="go" Destination="a"/></State>
            </Machine>)",
         nullptr},
    };
    for (const auto& c : cases) {
        const auto definitions = test::loadDefinitions(behaviorRegistry(), "Definitions/behaviors.xml", c.machines);
        MachineTable table;
        try {
            buildMachineTable(*definitions, "Definitions/behaviors.xml", table);
            EXPECT_EQ(c.failure, nullptr) << c.machines;
            EXPECT_EQ(table.count("m"), 1u) << c.machines;
        } catch (const CheckReleaseError& error) {
            ASSERT_NE(c.failure, nullptr) << error.what();
            EXPECT_EQ(std::string(error.what()),
                      std::string("Could not build Machine definition 'm' in file 'Definitions/behaviors.xml', "
                                  "reason: ") +
                          c.failure);
            EXPECT_EQ(table.count("m"), 0u) << c.machines;
        }
    }
}

TEST(MachineTables, MissingNameThrowsOutOfRange) {
    const Compiled compiled = compile(kMachines);
    try {
        compiled.table.at("no_such_machine");
        ADD_FAILURE() << "no error";
    } catch (const std::out_of_range& error) {
        EXPECT_EQ(std::string(error.what()), "Unable to find key in unordered_map.");
    }
}

} // namespace
} // namespace zor
