#include "game/simulation/rules/ExperienceLevels.h"

#include <algorithm>
#include <cstddef>
#include <memory>

namespace zor {

namespace {

constexpr const char* GameTableName = "AllLevels";

using Level = ExperienceDefinition::Level;

// Stands in for the levels of an empty table.
const Level& levelZero() {
    static const Level level;
    return level;
}

// Position of the level reached; only for a table with levels.
std::size_t reachedPosition(const ExperienceDefinition& table, std::int32_t experience) {
    const auto& levels = table.levels;
    for (std::size_t i = 0; i < levels.size(); ++i)
        if (levels[i].threshold > experience) return i == 0 ? 0 : i - 1;
    return levels.size() - 1;
}

} // namespace

const ExperienceDefinition& experienceTable() {
    static const std::shared_ptr<ExperienceDefinition> table = experienceRegistry().getShared(GameTableName);
    return *table;
}

bool isMaxExperienceLevel(const ExperienceDefinition& table, std::int32_t experience) {
    return table.levels.empty() || experience >= table.levels.back().threshold;
}

const ExperienceDefinition::Level& experienceLevelFor(const ExperienceDefinition& table, std::int32_t experience) {
    if (table.levels.empty()) return levelZero();
    return table.levels[reachedPosition(table, experience)];
}

std::int32_t experienceThreshold(const ExperienceDefinition& table, std::int32_t levelIndex) {
    const auto& levels = table.levels;
    if (levels.empty()) return levelZero().threshold;
    const auto last = std::int32_t(levels.size()) - 1;
    return levels[std::size_t(std::clamp(levelIndex, 0, last))].threshold;
}

std::int32_t nextLevelThreshold(const ExperienceDefinition& table, std::int32_t experience) {
    const auto& levels = table.levels;
    if (levels.empty()) return levelZero().threshold;
    const std::size_t next = reachedPosition(table, experience) + 1;
    return next < levels.size() ? levels[next].threshold : levels.back().threshold;
}

std::int32_t experienceSpan(const ExperienceDefinition& table, std::int32_t experience) {
    const auto& levels = table.levels;
    if (levels.size() < 2) return 0;
    std::size_t reached = reachedPosition(table, experience);
    if (reached + 1 == levels.size()) --reached;
    return levels[reached + 1].threshold - levels[reached].threshold;
}

float experienceProgress(const ExperienceDefinition& table, std::int32_t experience) {
    const std::int64_t start = experienceLevelFor(table, experience).threshold;
    const std::int64_t span = std::int64_t(nextLevelThreshold(table, experience)) - start;
    if (span <= 0) return 1.0f;
    const double progress = double(std::int64_t(experience) - start) / double(span);
    return float(std::clamp(progress, 0.0, 1.0));
}

} // namespace zor
