#include "game/simulation/GameSessionFile.h"

#include <boost/property_tree/ptree.hpp>
#include <boost/property_tree/xml_parser.hpp>

#include <cmath>
#include <sstream>

namespace zor {

namespace pt = boost::property_tree;

namespace {

// The value of a required child; nothing when it is missing or does not convert.
template <class T>
std::optional<T> required(const pt::ptree& parent, const char* key) {
    const auto child = parent.get_child_optional(key);
    if (!child) return std::nullopt;
    const boost::optional<T> value = child->get_value_optional<T>();
    return value ? std::optional<T>(*value) : std::nullopt;
}

// The value of an optional child: 0 when it is missing, nothing when it does not convert.
std::optional<std::int32_t> countOrZero(const pt::ptree& parent, const char* key) {
    return parent.get_child_optional(key) ? required<std::int32_t>(parent, key) : std::optional<std::int32_t>(0);
}

std::optional<GameSession::ProfileSlot> readProfile(const pt::ptree& profile) {
    const auto exists = required<bool>(profile, "Exists");
    const auto finished = required<bool>(profile, "Finished");
    const auto timePlayed = required<double>(profile, "TimePlayed");
    const auto maxDepth = required<std::int32_t>(profile, "MaxDepth");
    const auto totalExperience = countOrZero(profile, "TotalExperience");
    const auto totalOrbs = countOrZero(profile, "TotalOrbs");
    const auto deaths = countOrZero(profile, "NrDeaths");
    if (!exists || !finished || !timePlayed || !maxDepth || !totalExperience || !totalOrbs || !deaths)
        return std::nullopt;
    return GameSession::ProfileSlot{*exists, *finished, *timePlayed, *maxDepth, *totalExperience, *totalOrbs, *deaths};
}

std::optional<GameSession> readElementForm(const pt::ptree& root) {
    const auto current = required<std::int32_t>(root, "CurrentProfile");
    const auto profiles = root.get_child_optional("Profiles");
    if (!current || !profiles) return std::nullopt;
    GameSession session;
    std::size_t slot = 0;
    for (const auto& [tag, profile] : *profiles) {
        if (slot == session.profiles.size()) break;
        // Attributes of "Profiles" are no profile.
        if (tag == "<xmlattr>") continue;
        const auto read = readProfile(profile);
        if (!read) return std::nullopt;
        session.profiles[slot++] = *read;
    }
    session.currentProfile = *current >= 0 && *current < GameSession::ProfileCount ? *current : 0;
    return session;
}

std::optional<GameSession> readAttributeForm(const pt::ptree& root) {
    const auto current = root.get_optional<std::int32_t>("<xmlattr>.CurrentProfile");
    if (!current || *current < 0 || *current >= GameSession::ProfileCount) return std::nullopt;
    GameSession session;
    session.currentProfile = *current;
    for (const auto& [tag, child] : root) {
        if (tag != "Profile") continue;
        const auto slot = child.get_optional<std::int32_t>("<xmlattr>.Slot");
        if (!slot || *slot < 0 || *slot >= GameSession::ProfileCount) return std::nullopt;
        session.profiles[std::size_t(*slot)].exists = true;
    }
    return session;
}

} // namespace

std::optional<GameSession> parseSessionText(const char* text, std::size_t size) {
    pt::ptree tree;
    try {
        std::istringstream in(std::string(text, size));
        pt::read_xml(in, tree, pt::xml_parser::no_comments);
    } catch (const pt::ptree_error&) {
        return std::nullopt;
    }
    const auto root = tree.get_child_optional("Session");
    if (!root) return std::nullopt;
    return root->get_child_optional("CurrentProfile") ? readElementForm(*root) : readAttributeForm(*root);
}

std::string formatSessionText(const GameSession& session) {
    pt::ptree tree;
    pt::ptree& root = tree.add_child("Session", pt::ptree());
    root.put("CurrentProfile", session.currentProfile);
    pt::ptree& profiles = root.add_child("Profiles", pt::ptree());
    for (const GameSession::ProfileSlot& slot : session.profiles) {
        pt::ptree& profile = profiles.add_child("Profile", pt::ptree());
        profile.put("Exists", slot.exists);
        profile.put("Finished", slot.finished);
        // The reader takes no "nan" or "inf"; a session it refuses would be moved aside.
        profile.put("TimePlayed", std::isfinite(slot.timePlayed) ? slot.timePlayed : 0.0);
        profile.put("MaxDepth", slot.maxDepth);
        profile.put("TotalExperience", slot.totalExperience);
        profile.put("TotalOrbs", slot.totalOrbs);
        profile.put("NrDeaths", slot.deaths);
    }
    std::ostringstream text;
    pt::write_xml(text, tree, pt::xml_writer_make_settings<std::string>(' ', 2, "utf-8"));
    return text.str();
}

} // namespace zor
