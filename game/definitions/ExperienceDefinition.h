#pragma once
// A table of experience levels and the special unlocks reached with them; the game plays
// with the table named "AllLevels". Read from the property tree of its "Levels" element.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <boost/property_tree/ptree_fwd.hpp>

#include "Framework/core/math/Vector.h"
#include "game/definitions/DefinitionRegistry.h"

namespace zor {

struct ExperienceDefinition {
    struct Level {
        std::int32_t index = 0;     // position among the levels its definition read, from 0
        std::int32_t threshold = 0; // total experience at which the level is reached
        // The special unlock; an empty name for most levels.
        std::string name;
        fpVector2 cameraTarget;
        std::string upgradeName;
    };

    // Those of the definition follow the template's.
    std::vector<Level> levels;

    // "Exp" (required) lists the thresholds separated by ","; empty pieces are skipped,
    // blanks around a number are allowed, anything but a whole number fails. Each child of
    // "SpecialUnlocks" writes its "Name", "CameraTarget" and "UpgradeName" (all required)
    // into the level at list position "Level", which must exist.
    void read(const boost::property_tree::ptree& definition);
};

extern template class DefinitionRegistry<ExperienceDefinition>;

// Root "ExperienceDefinitions", element "Levels", key "Name"; file "Definitions/experience.xml".
DefinitionRegistry<ExperienceDefinition>& experienceRegistry();

// Null when the name is not registered.
std::shared_ptr<ExperienceDefinition> findExperienceDefinition(const std::string& name);

} // namespace zor
