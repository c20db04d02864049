#include "game/simulation/GameSession.h"

#include "Framework/core/io/Files.h"
#include "Framework/core/log/LogHandler.h"

#include <boost/property_tree/ptree.hpp>
#include <boost/property_tree/xml_parser.hpp>

#include <optional>
#include <string>

namespace zor {

namespace {

constexpr const char* LogSource = "GameSession";

// The session of one file; nothing when it is missing, damaged or names slots that do
// not exist.
std::optional<GameSession> readSession(const std::string& name) {
    boost::property_tree::ptree tree;
    try {
        if (readXml(name, tree, FileLocation::User) == 0) return std::nullopt;
    } catch (const std::exception& error) {
        LogHandler::log(LogHandler::Warning, LogSource, "Could not read " + name + ": " + error.what());
        return std::nullopt;
    }
    const auto root = tree.get_child_optional("Session");
    if (!root) return std::nullopt;
    GameSession session;
    const auto current = root->get_optional<std::int32_t>("<xmlattr>.CurrentProfile");
    if (!current || *current < 0 || *current >= GameSession::ProfileCount) return std::nullopt;
    session.currentProfile = *current;
    for (const auto& [tag, child] : *root) {
        if (tag != "Profile") continue;
        const auto slot = child.get_optional<std::int32_t>("<xmlattr>.Slot");
        if (!slot || *slot < 0 || *slot >= GameSession::ProfileCount) return std::nullopt;
        session.profiles[std::size_t(*slot)].exists = true;
    }
    return session;
}

} // namespace

bool GameSession::load() {
    for (const std::string& name : {std::string(FileName), std::string(FileName) + ".backup"}) {
        if (const std::optional<GameSession> session = readSession(name)) {
            *this = *session;
            return true;
        }
    }
    return false;
}

std::shared_ptr<GameSession>& gameSession() {
    static std::shared_ptr<GameSession> session;
    return session;
}

} // namespace zor
