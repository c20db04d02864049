// The experience queries at the thresholds, one below them and past the end, over tables
// of none, one and two levels and with equal thresholds.

#include "game/simulation/rules/ExperienceLevels.h"

#include "Framework/core/Errors.h"
#include "tests/support/game/FixtureDefinitions.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace zor {
namespace {

ExperienceDefinition tableOf(const std::vector<std::int32_t>& thresholds) {
    ExperienceDefinition table;
    for (std::int32_t threshold : thresholds) {
        ExperienceDefinition::Level& level = table.levels.emplace_back();
        level.index = std::int32_t(table.levels.size()) - 1;
        level.threshold = threshold;
    }
    return table;
}

TEST(ExperienceLevels, QueriesAroundTheThresholds) {
    struct Case {
        std::vector<std::int32_t> thresholds;
        std::int32_t experience;
        std::int32_t level;
        std::int32_t next;
        float progress;
        bool max;
        std::int32_t span;
    };
    const Case cases[] = {
        {{0, 100, 250}, -1, 0, 100, 0.0f, false, 100},  // below every threshold
        {{0, 100, 250}, 0, 0, 100, 0.0f, false, 100},
        {{0, 100, 250}, 99, 0, 100, 0.99f, false, 100},
        {{0, 100, 250}, 100, 1, 250, 0.0f, false, 150},
        {{0, 100, 250}, 249, 1, 250, 149.0f / 150.0f, false, 150},
        // The maximum level is full and fills with the span of the last level.
        {{0, 100, 250}, 250, 2, 250, 1.0f, true, 150},
        {{0, 100, 250}, 100000, 2, 250, 1.0f, true, 150},
        // Two levels.
        {{0, 100}, 99, 0, 100, 0.99f, false, 100},
        {{0, 100}, 100, 1, 100, 1.0f, true, 100},
        // One level: no span, so progress is full rather than 0 / 0.
        {{0}, 0, 0, 0, 1.0f, true, 0},
        {{0}, 5000, 0, 0, 1.0f, true, 0},
        {{100}, 99, 0, 100, 1.0f, false, 0},
        // Equal thresholds: the level without span is passed over, and a last level
        // without span gives no span.
        {{0, 100, 100, 200}, 99, 0, 100, 0.99f, false, 100},
        {{0, 100, 100, 200}, 100, 2, 200, 0.0f, false, 100},
        {{0, 100, 100}, 100, 2, 100, 1.0f, true, 0},
        // No levels read as one level at 0.
        {{}, 0, 0, 0, 1.0f, true, 0},
        {{}, 700, 0, 0, 1.0f, true, 0},
    };
    for (const Case& c : cases) {
        const ExperienceDefinition table = tableOf(c.thresholds);
        const std::string where = ::testing::PrintToString(c.thresholds) + " at " + std::to_string(c.experience);
        EXPECT_EQ(experienceLevelFor(table, c.experience).index, c.level) << where;
        EXPECT_EQ(nextLevelThreshold(table, c.experience), c.next) << where;
        EXPECT_FLOAT_EQ(experienceProgress(table, c.experience), c.progress) << where;
        EXPECT_EQ(isMaxExperienceLevel(table, c.experience), c.max) << where;
        EXPECT_EQ(experienceSpan(table, c.experience), c.span) << where;
    }
}

TEST(ExperienceLevels, ThresholdsByLevelIndex) {
    const ExperienceDefinition table = tableOf({0, 100, 250});
    const std::pair<std::int32_t, std::int32_t> cases[] = {{-1, 0}, {0, 0}, {1, 100}, {2, 250}, {3, 250}, {99, 250}};
    for (const auto& [index, threshold] : cases) EXPECT_EQ(experienceThreshold(table, index), threshold) << index;
    EXPECT_EQ(experienceThreshold(tableOf({}), 2), 0);
}

TEST(ExperienceLevels, TheGameTableIsAllLevels) {
    EXPECT_THROW(experienceTable(), CheckReleaseError);
    test::addDefinitions(experienceRegistry(), "experience fixture",
                         "<Levels><Name>Other</Name><Exp>0, 5</Exp></Levels>"
                         "<Levels><Name>AllLevels</Name><Exp>0, 40, 90</Exp></Levels>");
    const ExperienceDefinition& table = experienceTable();
    ASSERT_EQ(table.levels.size(), 3u);
    EXPECT_EQ(table.levels[2].threshold, 90);
    EXPECT_EQ(&experienceTable(), &table);
}

} // namespace
} // namespace zor
