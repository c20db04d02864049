#include "Framework/store/LeaderboardDefinitions.h"

#include "Framework/core/Errors.h"
#include "Framework/core/io/Files.h"

#include <boost/property_tree/ptree.hpp>
#include <boost/property_tree/xml_parser.hpp>

#include <utility>

namespace zor {

namespace pt = boost::property_tree;

namespace {

// Names are compared exactly; an unknown one is 0.
std::int32_t sortValue(const std::string& text) {
    if (text == "Ascending") return LeaderboardSortAscending;
    if (text == "Descending") return LeaderboardSortDescending;
    return LeaderboardSortNone;
}

std::int32_t displayValue(const std::string& text) {
    if (text == "Numeric") return LeaderboardDisplayNumeric;
    if (text == "Seconds") return LeaderboardDisplaySeconds;
    if (text == "Milliseconds") return LeaderboardDisplayMilliseconds;
    return LeaderboardDisplayNone;
}

} // namespace

void LeaderboardDefinitions::load() {
    try {
        pt::ptree tree;
        readXml(FileName, tree, FileLocation::GameData);
        for (const auto& [element, child] : tree.get_child("Leaderboards")) {
            if (element != "Leaderboard") continue;
            LeaderboardDefinition definition;
            definition.name = child.get<std::string>("<xmlattr>.Name");
            definition.sort = sortValue(child.get<std::string>("<xmlattr>.Sort", "Ascending"));
            definition.display = displayValue(child.get<std::string>("<xmlattr>.Display", "Numeric"));
            definition.additionalFieldCount = child.get<std::int32_t>("<xmlattr>.AdditionalFieldCount", 0);
            m_definitions[definition.name] = definition;
            m_registered.fire(definition);
        }
    } catch (const pt::xml_parser_error& error) {
        throw CheckReleaseError(std::string("Could not load leaderboards definition, ") + FileName + ", line " +
                                std::to_string(error.line()) + ": " + error.message());
    } catch (const std::exception& error) {
        throw CheckReleaseError(std::string("Could not load leaderboards definition, ") + FileName + ": " +
                                error.what());
    }
}

void LeaderboardDefinitions::uploadScore(const LeaderboardScore& score) {
    const LeaderboardDefinition* definition = find(score.leaderboardName);
    if (!definition) return;
    m_scoreUpload.fire(*definition, LeaderboardScoreRecord{score.score, score.details, score.uploadMethod});
}

const LeaderboardDefinition* LeaderboardDefinitions::find(const std::string& name) const {
    const auto found = m_definitions.find(name);
    return found == m_definitions.end() ? nullptr : &found->second;
}

LeaderboardDefinitions& leaderboardDefinitions() {
    static LeaderboardDefinitions definitions;
    return definitions;
}

void loadLeaderboardDefinitions() { leaderboardDefinitions().load(); }

void uploadLeaderboardScore(LeaderboardScore score) { leaderboardDefinitions().uploadScore(score); }

} // namespace zor
