#include "game/definitions/ExperienceDefinition.h"

#include <stdexcept>

#include <boost/algorithm/string/classification.hpp>
#include <boost/algorithm/string/split.hpp>
#include <boost/algorithm/string/trim.hpp>
#include <boost/lexical_cast.hpp>

#include "game/definitions/DefinitionLoader.h"

namespace zor {

template class DefinitionRegistry<ExperienceDefinition>;

void ExperienceDefinition::read(const boost::property_tree::ptree& definition) {
    std::vector<std::string> pieces;
    boost::split(pieces, definition.get<std::string>("Exp"), boost::is_any_of(","));
    std::int32_t index = 0;
    for (const std::string& piece : pieces) {
        if (piece.empty())
            continue;
        Level level;
        level.index = index++;
        level.threshold = boost::lexical_cast<std::int32_t>(boost::trim_copy(piece));
        levels.push_back(std::move(level));
    }

    const auto unlocks = definition.get_child_optional("SpecialUnlocks");
    if (!unlocks)
        return;
    for (const auto& [key, unlock] : *unlocks) {
        if (key.compare(0, 4, "<xml") == 0)
            continue;
        const auto position = unlock.get<std::int32_t>("Level");
        const auto name = unlock.get<std::string>("Name");
        const auto cameraTarget = unlock.get<fpVector2>("CameraTarget");
        const auto upgradeName = unlock.get<std::string>("UpgradeName");
        if (position < 0 || static_cast<std::size_t>(position) >= levels.size())
            throw std::runtime_error("Special unlock '" + name + "' names level " + std::to_string(position) +
                                     ", which the table does not have (it has " +
                                     std::to_string(levels.size()) + " levels, counted from 0)");
        Level& level = levels[static_cast<std::size_t>(position)];
        level.name = name;
        level.cameraTarget = cameraTarget;
        level.upgradeName = upgradeName;
    }
}

DefinitionRegistry<ExperienceDefinition>& experienceRegistry() {
    static DefinitionRegistry<ExperienceDefinition> registry("ExperienceDefinitions", "Levels", "Name");
    return registry;
}

std::shared_ptr<ExperienceDefinition> findExperienceDefinition(const std::string& name) {
    return experienceRegistry().find(name);
}

} // namespace zor
