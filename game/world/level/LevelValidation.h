#pragma once
// The checks a loaded level description passes before it is generated, so that a build
// neither reads names that are not there nor runs beyond its time budget.

#include <cstdint>

namespace zor {

struct LevelBuildSources;
class LevelDefinition;

namespace LevelLimits {
// The save format keeps byte grids of up to 1024 x 1024 tiles.
constexpr std::int32_t MaxTiles = 1024;
constexpr std::int32_t MaxSpacing = 1024;  // also border widths and heights
constexpr std::int32_t MaxFields = 1024;   // NumberOfFields of a rect field
// Filler fields of one slice: each is a pass over the whole slice, a noise field one per
// octave, so their number multiplies the build's time.
constexpr std::int32_t MaxSliceFields = 8;
constexpr std::int32_t MaxOctaves = 16;
constexpr std::int32_t MaxFieldSize = 1024;  // rect sizes, radius and gap
constexpr std::int32_t MaxCards = 65535;     // per side of a deck
// Gems and eggs of each kind a slice scatters: every one is a search of up to 100 cells.
constexpr std::int32_t MaxSliceResources = 4096;
} // namespace LevelLimits

// Throws CheckReleaseError "Could not load level <name>: <reason>" unless: the level is 1
// to MaxTiles tiles wide and high, and so is every slice; every patch set, tile set and
// slice resource the slices name exists; every deck a used patch draws from is a deck of
// the level, and every deck has 0 to MaxCards cards of each kind and at least one; the
// patches of the level's sets agree on the scale of each tile layer and name resources
// the registry holds; field counts, field, spacing and border values lie within the limits
// above; and
// every number the build divides by or feeds to the noise is finite (ResourceTierLength
// also non-zero).
void validateLevel(const LevelDefinition& level, const LevelBuildSources& sources);

} // namespace zor
