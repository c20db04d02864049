// Root levels and the fewest levels between two levels over the fixture's level links.

#include "tests/game/simulation/quest/QuestFixture.h"

#include "game/world/progress/ItemCountMap.h"

namespace zor::test {
namespace {

TEST(LevelLinkGraph, Distances) {
    LevelLinkGraph graph(fixtureLevelLinks());
    ItemCountMap noDrill;
    ItemCountMap drill;
    drill.counts["drill_1"] = 1;
    struct Case {
        const char* from;
        const char* to;
        std::int32_t withoutDrill;
        std::int32_t withDrill;
    };
    const Case cases[] = {
        {"town", "town", 0, 0},
        {"nowhere", "nowhere", 0, 0},  // equal names need no record
        {"town", "mine1", 2, 2},
        {"town", "cave", 3, 3},
        {"grotto", "town", 4, 4},
        {"town", "deep", -1, 3},       // the only way is guarded by the drill
        {"town", "abyss", -1, 4},
        {"deep", "town", 3, 3},        // the guard holds one way only
        {"fork", "goal", 3, 3},        // the longer way is listed first
        {"town", "sealed", -1, -1},
        {"town", "nowhere", -1, -1},   // a link target without a record leads nowhere
        {"town", "atlantis", -1, -1},
        {"atlantis", "town", -1, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(graph.distance(c.from, c.to, noDrill), c.withoutDrill) << c.from << " to " << c.to;
        EXPECT_EQ(graph.distance(c.from, c.to, drill), c.withDrill) << c.from << " to " << c.to << " with the drill";
    }
    drill.counts["drill_1"] = 0;
    EXPECT_EQ(graph.distance("town", "deep", drill), -1) << "a count of 0 holds no drill";
}

TEST(LevelLinkGraph, RootLevels) {
    LevelLinkGraph graph(fixtureLevelLinks());
    const std::pair<const char*, const char*> cases[] = {
        {"town", "town"}, {"deep", "deep"},   {"cave", "mine1"},  // through a guard-free link
        {"grotto", "mine1"},                                      // through another cave
        {"sealed", ""},   {"atlantis", ""},   {"nowhere", ""},
    };
    for (const auto& [level, root] : cases) EXPECT_EQ(graph.rootLevel(level), root) << level;
}

TEST(LevelLinkGraph, AGuardDoesNotHideARoot) {
    LevelLinkGraph graph(levelLinksOf({{"vault", true, {{"hall", "key"}}}, {"hall", false, {}}}));
    EXPECT_EQ(graph.rootLevel("vault"), "hall");
    EXPECT_EQ(graph.distance("vault", "hall", ItemCountMap()), -1);
}

TEST(LevelLinkGraph, AnEmptyTableFindsNothing) {
    LevelLinkGraph graph(LevelLinkTable{});
    EXPECT_EQ(graph.rootLevel("town"), "");
    EXPECT_EQ(graph.distance("town", "mine1", ItemCountMap()), -1);
    EXPECT_EQ(graph.distance("town", "town", ItemCountMap()), 0);
}

} // namespace
} // namespace zor::test
