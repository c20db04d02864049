// Which frames of a node's timeline leave its children as they stand, from its children's
// life ranges and keys.

#include "Framework/graphics/sprite/SpriteFrameRuns.h"

#include "Framework/graphics/sprite/SpriteDefinition.h"
#include "tests/Framework/graphics/sprite/SpriteTestData.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zor {
namespace {

// Each frame as the table gives it: its life run's and its run's first frames, and "*"
// where a key ends.
std::vector<std::string> describe(const std::vector<std::uint32_t>& runs) {
    std::vector<std::string> frames;
    for (const std::uint32_t entry : runs)
        frames.push_back(std::to_string(entry >> 16) + "/" + std::to_string((entry & 0xFFFFu) >> 1) + (entry & 1u ? "*" : ""));
    return frames;
}

std::vector<std::string> runsOf(const std::string& children) {
    const std::string xml = "<SpriteSet><Sprite Name=\"leaf\"/><Sprite Name=\"node\" Frames=\"1\">" + children +
                            "</Sprite></SpriteSet>";
    const auto set = test::spriteSetFromXml(xml);
    return describe(set->findDefinition("node")->childFrameRuns);
}

TEST(SpriteFrameRuns, RunsBreakWhereALifeOrAKeyBeginsOrEnds) {
    const struct {
        const char* name;
        const char* children;
        std::vector<std::string> frames;
    } cases[] = {
        {"a child without keys stands under the default key of frame 0",
         R"(<Child Name="a" Sprite="leaf" Life="0;3"/>)",
         {"0/0*", "0/1", "0/1", "0/1"}},
        {"keys of two frames each: the last frame of each blends",
         R"(<Child Name="a" Sprite="leaf" Life="0;5"><Key Frames="0;1"/><Key Frames="2;3"/><Key Frames="4;5"/></Child>)",
         {"0/0", "0/0*", "0/2", "0/2*", "0/4", "0/4*"}},
        {"a life range starting and ending inside the timeline",
         R"(<Child Name="a" Sprite="leaf" Life="0;6"><Key Frames="0;6"/></Child>
            <Child Name="b" Sprite="leaf" Life="2;4"><Key Frames="2;4"/></Child>)",
         {"0/0", "0/0", "2/2", "2/2", "2/2*", "5/5", "5/5*"}},
        {"overlapping keys: each of their bounds starts a run",
         R"(<Child Name="a" Sprite="leaf" Life="0;7"><Key Frames="0;4"/><Key Frames="3;7"/></Child>)",
         {"0/0", "0/0", "0/0", "0/3", "0/3*", "0/5", "0/5", "0/5*"}},
        {"keys beyond the life range still bound runs within it",
         R"(<Child Name="a" Sprite="leaf" Life="0;3"><Key Frames="1;9"/></Child>)",
         {"0/0", "0/1", "0/1", "0/1"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(runsOf(c.children), c.frames);
    }
}

TEST(SpriteFrameRuns, ChildrenStandOnlyWithinOneRunThatBlendsNowhere) {
    // Runs 0..1 (1 blends), 2..4, 5; life runs 0..4, 5.
    const std::vector<std::uint32_t> runs{0 << 1, 0 << 1 | 1, 2 << 1, 2 << 1, 2 << 1, 5 << 16 | 5 << 1};
    EXPECT_TRUE(childrenStandAcross(runs, 2, 4));
    EXPECT_TRUE(childrenStandAcross(runs, 4, 2));
    EXPECT_FALSE(childrenStandAcross(runs, 0, 1));  // into a blending frame
    EXPECT_FALSE(childrenStandAcross(runs, 1, 0));  // out of one
    EXPECT_FALSE(childrenStandAcross(runs, 4, 5));
    EXPECT_FALSE(childrenStandAcross(runs, 2, 6));  // beyond the table
    EXPECT_FALSE(childLivesDiffer(runs, 1, 4));
    EXPECT_TRUE(childLivesDiffer(runs, 4, 5));
    EXPECT_TRUE(childLivesDiffer(runs, 5, 6));
    EXPECT_TRUE(childBlendsAt(runs, 1));
    EXPECT_FALSE(childBlendsAt(runs, 3));
    EXPECT_TRUE(childBlendsAt(runs, 6));
    EXPECT_TRUE(childBlendsAt({}, 0));
}

// A timeline out of damaged data makes no table (its children are stepped at every frame
// change) rather than one of billions of entries.
TEST(SpriteFrameRuns, AHugeTimelineKeepsNoTable) {
    EXPECT_TRUE(runsOf(R"(<Child Name="a" Sprite="leaf" Life="0;4000000000"/>)").empty());
    EXPECT_EQ(runsOf(R"(<Child Name="a" Sprite="leaf" Life="0;32767"/>)").size(), 32768u);
    EXPECT_TRUE(runsOf(R"(<Child Name="a" Sprite="leaf" Life="0;32768"/>)").empty());
}

} // namespace
} // namespace zor
