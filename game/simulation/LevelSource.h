#pragma once
// Where the level flow gets its levels. The program's source is the level builder over the
// patch library in use, the program's registries and the description files of the game
// data folder; tests give levels of their own.

#include <memory>
#include <string>

namespace zor {

class Randomizer;
struct Level;
struct PersistentLevelInfo;

class LevelSource {
public:
    virtual ~LevelSource() = default;

    // LevelBuilder::buildLevel: an empty `info` receives a new record with seeds drawn from
    // `seeds`. Throws a runtime error naming what went wrong.
    virtual std::shared_ptr<Level> buildLevel(const std::string& name, std::shared_ptr<PersistentLevelInfo>& info,
                                              Randomizer& seeds) const;
    // LevelBuilder::buildSpecificPatchLevel. Throws a runtime error for an unknown set or
    // patch.
    virtual std::shared_ptr<Level> buildSpecificPatchLevel(const std::string& patchSetName,
                                                           const std::string& patchName, Randomizer& seeds) const;
};

} // namespace zor
