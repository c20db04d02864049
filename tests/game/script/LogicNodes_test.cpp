// The logic node types, each fed by start nodes and read by probes over a few passes of
// 0.25 s: what they emit in each pass.

#include "tests/game/script/ScriptGraphFixture.h"

#include <gtest/gtest.h>

#include <functional>

namespace zor::test {
namespace {

PatchGraphValue text(const char* value) { return PatchGraphValue(std::string(value)); }

struct LogicCase {
    const char* what;
    std::function<void(ScriptGraphFixture&)> graph;
    int passes;
    std::map<std::string, std::string> notes;
};

// Node 1 feeds node 2, which feeds probe 9.
std::function<void(ScriptGraphFixture&)> chain(std::map<std::string, PatchGraphValue> always, const char* type,
                                               std::map<std::string, PatchGraphValue> properties) {
    return [=](ScriptGraphFixture& f) {
        f.node(1, "Always", always);
        f.node(2, type, properties);
        f.node(9, "Probe");
        f.link(1, 2);
        f.link(2, 9);
    };
}

// Each of `counts` is an Always node (ids from 1) feeding node 10 of the type, read by 9.
std::function<void(ScriptGraphFixture&)> gate(const char* type, std::vector<const char*> counts) {
    return [=](ScriptGraphFixture& f) {
        f.node(10, type);
        f.node(9, "Probe");
        f.link(10, 9);
        for (std::size_t i = 0; i < counts.size(); ++i) {
            f.node(std::uint32_t(i + 1), "Always", {{"Trigger Count", text(counts[i])}});
            f.link(std::uint32_t(i + 1), 10);
        }
    };
}

// An Always feeding an Alternate (2) whose groups "out1" to "out4" lead to probes 11 to 14,
// for the groups listed.
std::function<void(ScriptGraphFixture&)> alternate(std::map<std::string, PatchGraphValue> properties,
                                                   std::vector<int> groups) {
    return [=](ScriptGraphFixture& f) {
        f.node(1, "Always");
        f.node(2, "Alternate", properties);
        f.link(1, 2);
        for (int group : groups) {
            f.node(std::uint32_t(10 + group), "Probe");
            f.link(2, std::uint32_t(10 + group), "out" + std::to_string(group));
        }
    };
}

TEST(LogicNodesTest, EachTypeEmitsWhatItsRulesGiveInEveryPass) {
    const PatchGraphValue yes(true);
    const PatchGraphValue no(false);
    const LogicCase cases[] = {
        {"Always with count 2", chain({{"Trigger Count", text("2")}}, "Or", {}), 4, {{"9", "1100"}}},
        {"Always without count", chain({}, "Or", {}), 4, {{"9", "1111"}}},
        {"Always with a negative count", chain({{"Trigger Count", text("-3")}}, "Or", {}), 2, {{"9", "00"}}},
        {"Toggle on and not toggleable: true until the first true input, then false for good",
         [](ScriptGraphFixture& f) {
             gate("Not", {"2"})(f);
             f.node(3, "Toggle", {{"On", PatchGraphValue(true)}, {"Toggleable", PatchGraphValue(false)}});
             f.node(8, "Probe");
             f.link(10, 3);
             f.link(3, 8);
         },
         6, {{"9", "001111"}, {"8", "110000"}}},
        {"Toggle toggleable flips in every pass with a true input",
         chain({{"Trigger Count", text("3")}}, "Toggle", {{"Toggleable", yes}, {"On", no}}), 5, {{"9", "10111"}}},
        {"Comment passes its input through", chain({{"Trigger Count", text("1")}}, "Comment", {}), 3, {{"9", "100"}}},
        {"Once", chain({}, "Once", {}), 3, {{"9", "100"}}},
        {"Delay fired by a single pulse", chain({{"Trigger Count", text("1")}}, "Delay", {{"Delay", text("0.5")}}), 5,
         {{"9", "01000"}}},
        {"Delay fed every pass fires once", chain({}, "Delay", {{"Delay", text("0.75")}}), 6, {{"9", "001000"}}},
        {"Delay 0 never fires", chain({}, "Delay", {{"Delay", text("0")}}), 4, {{"9", "0000"}}},
        {"Delay below 0 never fires", chain({}, "Delay", {{"Delay", text("-1")}}), 4, {{"9", "0000"}}},
        {"Cooldown 1 fed every pass", chain({}, "Cooldown", {{"Cooldown", text("1")}}), 9, {{"9", "100010001"}}},
        {"Cooldown with a start time", chain({}, "Cooldown", {{"Cooldown", text("1")}, {"Start", text("0.5")}}), 7,
         {{"9", "0100010"}}},
        {"Cooldown only runs down in runs with inputs stamped", chain({{"Trigger Count", text("-1")}}, "Cooldown", {}),
         2, {{"9", "00"}}},
        {"Alternate over out2 and out4, skipping empty groups",
         alternate({{"SkipEmpty", yes}}, {2, 4}), 5, {{"12", "10101"}, {"14", "01010"}}},
        {"Alternate over out2 and out4, stepping through empty groups",
         alternate({{"SkipEmpty", no}}, {2, 4}), 6, {{"12", "010001"}, {"14", "000100"}}},
        {"Alternate without groups disables itself",
         [](ScriptGraphFixture& f) {
             alternate({{"SkipEmpty", PatchGraphValue(true)}}, {})(f);
             f.node(9, "Probe");
             f.link(2, 9);
         },
         3, {{"9", "..."}}},
        {"Alternate ends after Times wraps", alternate({{"SkipEmpty", yes}, {"Times", text("2")}}, {1, 2}), 6,
         {{"11", "101000"}, {"12", "010100"}}},
        {"Alternate with a negative Times is off", alternate({{"Times", text("-1")}}, {1, 2}), 2,
         {{"11", "00"}, {"12", "00"}}},
        {"Alternate from Start 2", alternate({{"Start", text("2")}}, {1, 2, 3, 4}), 4,
         {{"11", "0010"}, {"12", "0001"}, {"13", "1000"}, {"14", "0100"}}},
        {"Alternate from Start 5 begins at out2", alternate({{"Start", text("5")}}, {1, 2}), 4,
         {{"11", "0001"}, {"12", "1000"}}},
        {"Alternate from Start -1 begins at out4", alternate({{"Start", text("-1")}}, {1, 4}), 2,
         {{"11", "01"}, {"14", "10"}}},
        {"Xor of three true inputs", gate("Xor", {"0", "0", "0"}), 1, {{"9", "1"}}},
        {"Xor of two true inputs", gate("Xor", {"0", "0", "-1"}), 1, {{"9", "0"}}},
        {"Not of no true input", gate("Not", {"-1", "-1"}), 1, {{"9", "1"}}},
        {"Not of one true input", gate("Not", {"-1", "0"}), 1, {{"9", "0"}}},
        {"And of false inputs", gate("And", {"-1", "-1"}), 1, {{"9", "0"}}},
        {"And of true inputs, then of one false", gate("And", {"0", "1"}), 2, {{"9", "10"}}},
        {"Or of one true input, then of none", gate("Or", {"-1", "1"}), 2, {{"9", "10"}}},
    };
    for (const LogicCase& c : cases) {
        ScriptGraphFixture fixture;
        c.graph(fixture);
        fixture.build();
        EXPECT_EQ(fixture.run(c.passes), c.notes) << c.what;
    }
}

TEST(LogicNodesTest, ADelayStartedOnceIgnoresLaterPulses) {
    ScriptGraphFixture fixture;
    // Out1 of an Alternate that steps through its empty groups pulses every fourth pass.
    fixture.node(1, "Always");
    fixture.node(2, "Alternate");
    fixture.node(3, "Delay", {{"Delay", PatchGraphValue(std::string("0.5"))}});
    fixture.node(8, "Probe");
    fixture.node(9, "Probe");
    fixture.link(1, 2);
    fixture.link(2, 8, "out1");
    fixture.link(2, 3, "out1");
    fixture.link(3, 9);
    fixture.build();
    const auto notes = fixture.run(10);
    EXPECT_EQ(notes.at("8"), "1000100010");
    EXPECT_EQ(notes.at("9"), "0100000000");
}

TEST(LogicNodesTest, TheRegistryMakesEachLogicTypeOnceRegistered) {
    registerTestNodeTypes();
    for (const char* type : {"Always", "Toggle", "Comment", "Delay", "Cooldown", "Once", "Alternate", "And", "Or", "Not",
                             "Xor"}) {
        const std::unique_ptr<ScriptNode> node = createScriptNode(type);
        ASSERT_NE(node, nullptr) << type;
        EXPECT_EQ(node->type, type);
        EXPECT_EQ(node->isStartNode(), std::string(type) == "Always") << type;
    }
    EXPECT_EQ(createScriptNode("always"), nullptr);
    EXPECT_EQ(createScriptNode(""), nullptr);
    // The first registration of a name stays.
    EXPECT_FALSE(registerScriptNodeType("Always", &makeScriptNode<ProbeNode>));
    EXPECT_EQ(createScriptNode("Always")->type, "Always");
}

} // namespace
} // namespace zor::test
