// Signal propagation through script graphs built from small record lists: which nodes run
// in which pass, in what order, and what reaches them.

#include "tests/game/script/ScriptGraphFixture.h"

#include <gtest/gtest.h>

#include <functional>

namespace zor::test {
namespace {

PatchGraphValue text(const char* value) { return PatchGraphValue(std::string(value)); }

struct PropagationCase {
    const char* what;
    std::function<void(ScriptGraphFixture&)> graph;
    int passes;
    std::map<std::string, std::string> notes;
};

TEST(ScriptPropagationTest, SignalsReachTheNodesWhoseInputsAreAllStamped) {
    const PropagationCase cases[] = {
        {"without start nodes nothing runs",
         [](ScriptGraphFixture& f) {
             f.node(1, "Toggle");
             f.node(2, "Probe");
             f.link(1, 2);
         },
         3, {{"2", "..."}}},
        {"a node without inputs that is not a start node never runs",
         [](ScriptGraphFixture& f) {
             f.node(1, "Always");
             f.node(2, "Probe");
             f.node(3, "Probe");
             f.link(1, 2);
         },
         3, {{"2", "111"}, {"3", "..."}}},
        {"an And fed by two start nodes sees both values",
         [](ScriptGraphFixture& f) {
             f.node(1, "Always", {{"Trigger Count", text("1")}});
             f.node(2, "Always");
             f.node(3, "And");
             f.node(4, "Probe");
             f.link(1, 3);
             f.link(2, 3);
             f.link(3, 4);
         },
         3, {{"4", "100"}}},
        {"two connections to one target run it once",
         [](ScriptGraphFixture& f) {
             f.node(1, "Always");
             f.node(2, "Probe");
             f.link(1, 2);
             f.link(1, 2);
         },
         3, {{"2", "111"}}},
        {"a gate fed by a node that does not run stays closed",
         [](ScriptGraphFixture& f) {
             f.node(1, "Always");
             f.node(2, "Toggle");
             f.node(3, "Or");
             f.node(4, "Probe");
             f.link(1, 3);
             f.link(2, 3);
             f.link(3, 4);
         },
         3, {{"4", "..."}}},
        {"false propagates like true",
         [](ScriptGraphFixture& f) {
             f.node(1, "Always", {{"Trigger Count", text("-1")}});
             f.node(2, "Probe");
             f.node(3, "Not");
             f.node(4, "Probe");
             f.link(1, 2);
             f.link(1, 3);
             f.link(3, 4);
         },
         3, {{"2", "000"}, {"4", "111"}}},
        {"a node linked to itself never runs",
         [](ScriptGraphFixture& f) {
             f.node(1, "Always");
             f.node(2, "Probe");
             f.link(1, 2);
             f.link(2, 2);
         },
         3, {{"2", "..."}}},
        {"a node that waits for its own downstream never runs",
         [](ScriptGraphFixture& f) {
             f.node(1, "Always");
             f.node(2, "Probe");
             f.node(3, "Probe");
             f.link(1, 2);
             f.link(2, 3);
             f.link(3, 2);
         },
         2, {{"2", ".."}, {"3", ".."}}},
    };
    for (const PropagationCase& c : cases) {
        ScriptGraphFixture fixture;
        c.graph(fixture);
        fixture.build();
        EXPECT_EQ(fixture.run(c.passes), c.notes) << c.what;
    }
}

TEST(ScriptPropagationTest, WithoutStartNodesTheTickStays) {
    ScriptGraphFixture fixture;
    fixture.node(1, "Toggle");
    ScriptSystem& system = fixture.build();
    EXPECT_EQ(system.tick(), 1u);
    fixture.run(3);
    EXPECT_EQ(system.tick(), 1u);
}

// Depth-first: the first start node's cascade before the second's, the first connection's
// subtree first; a node with inputs from both runs in the cascade that completes them.
TEST(ScriptPropagationTest, CascadesRunDepthFirstInRecordAndLinkOrder) {
    ScriptGraphFixture fixture;
    fixture.node(1, "Always");
    fixture.node(2, "Always");
    fixture.node(3, "And");
    fixture.node(4, "Probe");
    fixture.node(5, "Probe");
    fixture.node(6, "Probe");
    fixture.node(7, "Probe");
    fixture.link(1, 5);
    fixture.link(1, 3);
    fixture.link(2, 3);
    fixture.link(2, 6);
    fixture.link(3, 4);
    fixture.link(5, 7);
    fixture.build();
    fixture.run(2);
    EXPECT_EQ(fixture.journal, (std::vector<std::string>{"5", "7", "4", "6", "5", "7", "4", "6"}));
}

TEST(ScriptPropagationTest, EmitsStampEveryOutputWithThePass) {
    ScriptGraphFixture fixture;
    fixture.node(1, "Always", {{"Trigger Count", text("-1")}});
    fixture.node(2, "Probe");
    fixture.node(3, "Probe");
    fixture.link(1, 2);
    fixture.link(1, 3);
    ScriptSystem& system = fixture.build();
    const ScriptNode& always = *system.nodes()[0];
    ASSERT_EQ(always.outputs.size(), 2u);
    EXPECT_EQ(always.outputs[0]->tick, 0u);
    fixture.run(2);
    for (const auto& output : always.outputs) {
        EXPECT_EQ(output->tick, 2u);
        EXPECT_FALSE(output->value);
        EXPECT_EQ(output->from, &always);
    }
    EXPECT_EQ(system.tick(), 3u);
}

TEST(ScriptPropagationTest, NodesHaveUniqueIdsAndDefaultNames) {
    ScriptNodeAnd first;
    ScriptNodeXor second;
    EXPECT_EQ(second.id, first.id + 1);
    EXPECT_EQ(first.name, std::to_string(first.id) + "And");
    EXPECT_EQ(second.type, "Xor");
}

} // namespace
} // namespace zor::test
