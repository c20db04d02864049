#include "game/simulation/LevelSource.h"

#include "game/world/level/LevelBuilder.h"

namespace zor {

std::shared_ptr<Level> LevelSource::buildLevel(const std::string& name, std::shared_ptr<PersistentLevelInfo>& info,
                                               Randomizer& seeds) const {
    return LevelBuilder().buildLevel(name, info, seeds);
}

std::shared_ptr<Level> LevelSource::buildSpecificPatchLevel(const std::string& patchSetName,
                                                            const std::string& patchName, Randomizer& seeds) const {
    return LevelBuilder().buildSpecificPatchLevel(patchSetName, patchName, seeds);
}

} // namespace zor
