#pragma once
// The levels of harness games on the fixture definitions: a small patch library compiled
// from XML texts here and level descriptions held in memory, built by the game's level
// builder over the program's registries.
//
// Every level is one room of 20 x 10 cells (800 x 400 px): a bedrock frame, a dirt floor
// whose top is at y = 320, and in row 7 (y 280 to 320) moss (regrows with the effect
// "puff", material "loam", 2 s) at columns 6 and 7, lichen (regrows plainly, material
// "lichen_matter", 1 s) at 8 and 9, and rubble (breaks under pressure) at 15 and 16.
// "[start]" stands on the floor at (120, 320) facing right; "[side]" at (600, 320) facing
// left. Tile types: 0 empty, 1 dirt, 2 back (never painted), 3 bedrock, 4 moss, 5 lichen,
// 6 rubble.
//
// fixture_town: AtSurface, SaveOnEnter; its room "plaza" has an exit "to_mine" at
//   (680, 320) to fixture_mine. shalebury, the town the game names in code: the same.
// fixture_mine: SaveOnLeave, StartDepth 0; its room "shaft" has the exit "to_deep" at
//   (680, 320) to fixture_deep, a settling "crawler" at (460, 200), an "ore" at (300, 300),
//   a rectangle shape "trigger_zone" (40, 40, 80, 80) and a point shape "lamp_spot"
//   (200, 100), with the ids 1 to 4 and placement number 1.
// fixture_deep, deepvault: the bare room "hall"; fixture_cave: the same, a cave with
//   ResetEntities; fixture_reset: the room "shaft" with ResetEarth.
// Level links: town - mine, mine - deep and cave.

#include "game/simulation/LevelSource.h"

#include "game/world/level/LevelBuildSources.h"

#include <map>
#include <memory>
#include <string>

namespace zor::test {

class FixtureLevels final : public LevelSource {
public:
    // Compiles the library once per program; the fixture definitions must be loaded.
    FixtureLevels();

    std::shared_ptr<Level> buildLevel(const std::string& name, std::shared_ptr<PersistentLevelInfo>& info,
                                      Randomizer& seeds) const override;
    std::shared_ptr<Level> buildSpecificPatchLevel(const std::string& patchSetName, const std::string& patchName,
                                                   Randomizer& seeds) const override;

    // Adds a level description (the body inside <Level>, VeinTextures supplied) under a name
    // of the test's own.
    void addLevel(const std::string& name, const std::string& body);

    LevelBuildSources sources() const;

private:
    std::map<std::string, std::string> m_descriptions;
};

// The fixture levels every harness game of a program shares (tests may add levels).
const std::shared_ptr<FixtureLevels>& fixtureLevels();

} // namespace zor::test
