// Writes the scrambled achievement definitions file from its readable description:
//   achievements_writer <description.xml> <output.dat>
//
// The description:
//   <Achievements>
//     <Counter Name="cntr_tiles_dug" Mode="add" StoreStat="true"/>
//     <Achievement Name="ach_first_shaft" Counter="cntr_tiles_dug" Threshold="100"/>
//   </Achievements>
// Mode is "add" (the default), "maximum" or "fixed"; StoreStat "true" or "false" (the
// default). Names become element names of the player's "progress.xml", so they must be
// XML names: a letter or "_", then letters, digits, "_", "-" or ".". Every achievement
// names a counter declared before it.

#include "Framework/core/Errors.h"
#include "Framework/store/AchievementFile.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <string>
#include <vector>

namespace {

using zor::AchievementFile;
using zor::CheckReleaseError;

bool isXmlName(const std::string& name) {
    auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
    if (name.empty() || !letter(name[0])) return false;
    for (char c : name)
        if (!letter(c) && !(c >= '0' && c <= '9') && c != '-' && c != '.') return false;
    return true;
}

std::string where(const pugi::xml_node& node) {
    return "<" + std::string(node.name()) + "> at byte " + std::to_string(node.offset_debug());
}

std::string requiredName(const pugi::xml_node& node, const char* attribute) {
    const pugi::xml_attribute value = node.attribute(attribute);
    if (!value) throw CheckReleaseError(where(node) + " has no " + attribute);
    const std::string name = value.value();
    if (!isXmlName(name)) throw CheckReleaseError(where(node) + ": '" + name + "' is not usable as an XML name");
    return name;
}

AchievementFile::Counter readCounter(const pugi::xml_node& node) {
    AchievementFile::Counter counter;
    counter.name = requiredName(node, "Name");
    const std::string mode = node.attribute("Mode").as_string("add");
    const char* const modes[] = {"add", "maximum", "fixed"};
    const auto found = std::find(std::begin(modes), std::end(modes), mode);
    if (found == std::end(modes))
        throw CheckReleaseError(where(node) + ": unknown Mode '" + mode + "' (add, maximum or fixed)");
    counter.mode = std::uint8_t(found - std::begin(modes));
    const std::string storeStat = node.attribute("StoreStat").as_string("false");
    if (storeStat != "true" && storeStat != "false")
        throw CheckReleaseError(where(node) + ": StoreStat must be true or false, not '" + storeStat + "'");
    counter.storeStat = storeStat == "true";
    return counter;
}

AchievementFile::Entry readAchievement(const pugi::xml_node& node, const std::set<std::string>& counters) {
    AchievementFile::Entry entry;
    entry.name = requiredName(node, "Name");
    entry.counter = requiredName(node, "Counter");
    if (!counters.count(entry.counter))
        throw CheckReleaseError(where(node) + ": counter '" + entry.counter + "' is not declared before it");
    const std::string threshold = node.attribute("Threshold").value();
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(threshold.c_str(), &end, 10);
    if (threshold.empty() || *end != '\0' || errno == ERANGE || value < INT32_MIN || value > INT32_MAX)
        throw CheckReleaseError(where(node) + ": Threshold must be a 32-bit integer, not '" + threshold + "'");
    entry.threshold = std::int32_t(value);
    return entry;
}

AchievementFile readDescription(const std::string& path) {
    pugi::xml_document document;
    const pugi::xml_parse_result parsed = document.load_file(path.c_str());
    if (!parsed)
        throw CheckReleaseError(std::string(parsed.description()) + " at byte " + std::to_string(parsed.offset));
    const pugi::xml_node root = document.document_element();
    if (std::strcmp(root.name(), "Achievements") != 0) throw CheckReleaseError("the root element is not <Achievements>");

    AchievementFile file;
    std::set<std::string> counters;
    std::set<std::string> achievements;
    for (const pugi::xml_node& node : root.children()) {
        if (node.type() != pugi::node_element) continue;
        const std::string kind = node.name();
        if (kind == "Counter") {
            file.counters.push_back(readCounter(node));
            if (!counters.insert(file.counters.back().name).second)
                throw CheckReleaseError(where(node) + ": counter '" + file.counters.back().name + "' declared twice");
        } else if (kind == "Achievement") {
            file.achievements.push_back(readAchievement(node, counters));
            if (!achievements.insert(file.achievements.back().name).second)
                throw CheckReleaseError(where(node) + ": achievement '" + file.achievements.back().name +
                                        "' declared twice");
        } else {
            throw CheckReleaseError(where(node) + " is neither <Counter> nor <Achievement>");
        }
    }
    return file;
}

void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    const std::filesystem::path target(path);
    if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path());
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    out.close();
    if (!out) {
        std::filesystem::remove(target);
        throw CheckReleaseError("could not write " + path);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: achievements_writer <description.xml> <output.dat>\n";
        return 2;
    }
    try {
        writeBytes(argv[2], zor::encodeAchievementFile(readDescription(argv[1])));
    } catch (const std::exception& error) {
        std::cerr << "achievements_writer: " << argv[1] << ": " << error.what() << "\n";
        return 1;
    }
    return 0;
}
