// A pass allocates nothing once its stacks have grown: this test program counts every
// operator new.

#include "tests/game/script/ScriptGraphFixture.h"

#include "tests/support/allocations/CountingAllocator.h"

#include <gtest/gtest.h>

namespace zor::test {
namespace {

TEST(ScriptAllocationTest, AWarmGraphOfEveryLogicTypeAllocatesNothing) {
    ScriptGraphFixture f;
    const PatchGraphValue on(true);
    f.node(1, "Always");
    f.node(2, "Always", {{"Trigger Count", PatchGraphValue(std::string("30"))}});
    f.node(3, "Toggle", {{"Toggleable", on}});
    f.node(4, "Comment");
    f.node(5, "Delay", {{"Delay", PatchGraphValue(std::string("0.5"))}});
    f.node(6, "Cooldown", {{"Cooldown", PatchGraphValue(std::string("0.1"))}});
    f.node(7, "Once");
    f.node(8, "Alternate", {{"SkipEmpty", on}});
    f.node(9, "And");
    f.node(10, "Or");
    f.node(11, "Not");
    f.node(12, "Xor");
    for (std::uint32_t id = 3; id <= 7; ++id) {
        f.link(1, id);
        f.link(2, id);
    }
    f.link(8, 9, "out1");
    f.link(8, 10, "out3");
    f.link(3, 8);
    f.link(4, 9);
    f.link(5, 10);
    f.link(6, 11);
    f.link(7, 12);
    f.link(9, 12);
    f.link(10, 12);
    f.link(11, 12);
    ScriptSystem& system = f.build();
    system.update(1.0f / 60.0f);
    countingAllocations = true;
    for (int pass = 0; pass < 100; ++pass) system.update(1.0f / 60.0f);
    countingAllocations = false;
    EXPECT_EQ(countedAllocations.load(), 0);
    EXPECT_EQ(system.tick(), 102u);
    EXPECT_GT(system.nodes()[11]->inputs.front()->tick, 100u) << "the Xor at the bottom ran";
}

} // namespace
} // namespace zor::test
