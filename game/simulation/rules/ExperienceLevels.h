#pragma once
// Queries over an experience table: which level a total of experience reaches, how far it
// is into that level and what the next level needs. An empty table reads as one level at 0,
// so every query has an answer.

#include "game/definitions/ExperienceDefinition.h"

#include <cstdint>

namespace zor {

// The table the game plays with, "AllLevels", looked up on the first call and kept (the
// registry never drops a record). Throws CheckReleaseError while it is not registered.
const ExperienceDefinition& experienceTable();

// At or above the last level's threshold.
bool isMaxExperienceLevel(const ExperienceDefinition& table, std::int32_t experience);
// The last level whose threshold the experience reaches; the first level for experience
// below every threshold.
const ExperienceDefinition::Level& experienceLevelFor(const ExperienceDefinition& table, std::int32_t experience);
// The level's threshold; an index past the end gives the last level's, one below 0 the first's.
std::int32_t experienceThreshold(const ExperienceDefinition& table, std::int32_t levelIndex);
// The threshold of the level after the one reached; the last threshold at the maximum level.
std::int32_t nextLevelThreshold(const ExperienceDefinition& table, std::int32_t experience);
// The experience that fills the level reached (next threshold minus its own); at the
// maximum level that of the last level. 0 when thresholds are equal or there is one level.
std::int32_t experienceSpan(const ExperienceDefinition& table, std::int32_t experience);
// How far the experience is into the level reached, 0 to 1. A level without span (the
// maximum level, equal thresholds, a table of one level) counts as full: 1.
float experienceProgress(const ExperienceDefinition& table, std::int32_t experience);

} // namespace zor
