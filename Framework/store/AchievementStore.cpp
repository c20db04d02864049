#include "Framework/store/AchievementStore.h"

#include "Framework/core/Errors.h"
#include "Framework/core/io/BackedUpFile.h"
#include "Framework/core/io/Files.h"
#include "Framework/core/log/LogHandler.h"
#include "Framework/core/settings/SettingsHandler.h"

#include <boost/property_tree/ptree.hpp>
#include <boost/property_tree/xml_parser.hpp>

#include <algorithm>
#include <sstream>

namespace zor {

namespace pt = boost::property_tree;

namespace {

constexpr const char* kLogSource = "Achievements";

// Whether the bytes are a progress file with both of its lists; the parsed file goes to
// `tree` only then.
bool parseProgress(const ByteArray& data, std::size_t size, pt::ptree& tree) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data.get()), size));
    pt::ptree parsed;
    try {
        pt::read_xml(in, parsed, pt::xml_parser::no_comments);
    } catch (const pt::ptree_error&) {
        return false;
    }
    if (!parsed.get_child_optional("Progress.Unlocked") || !parsed.get_child_optional("Progress.Counters"))
        return false;
    tree.swap(parsed);
    return true;
}

} // namespace

void AchievementStore::init() {
    loadDefinitions();
    m_enabled = SettingsHandler::exists() && SettingsHandler::instance().getBool(EnabledSetting);
    if (m_enabled) loadProgress();
}

void AchievementStore::loadDefinitions() {
    ByteArray bytes;
    const std::size_t size = readFile(bytes, AchievementFileName, FileLocation::GameData, false);
    if (size == 0) return;
    AchievementFile file;
    try {
        file = decodeAchievementFile(bytes.get(), size);
    } catch (const CheckReleaseError& error) {
        throw CheckReleaseError(std::string("Could not load achievements from file '") + AchievementFileName +
                                "', reason: " + error.what());
    }
    define(file);
}

void AchievementStore::define(const AchievementFile& file) {
    for (const AchievementFile::Counter& definition : file.counters) {
        AchievementCounter& counter = counterEntry(definition.name);
        counter.value = 0;
        counter.mode = definition.mode;
        counter.quiet = false;
        counter.storeStat = definition.storeStat;
        counter.achievements.clear();
    }
    for (const AchievementFile::Entry& definition : file.achievements) {
        Achievement& achievement = achievementEntry(definition.name);
        achievement.counter = &counterEntry(definition.counter);
        achievement.threshold = definition.threshold;
        achievement.unlocked = false;
    }
    // Linked last, so that an achievement defined twice joins only its final counter, once.
    for (AchievementCounter* counter : m_counterOrder) counter->achievements.clear();
    for (Achievement* achievement : m_achievementOrder) achievement->counter->achievements.push_back(achievement);
}

void AchievementStore::loadProgress() {
    pt::ptree tree;
    const BackedUpLoad load = loadBackedUpFile(
        ProgressFileName, [&tree](const ByteArray& data, std::size_t size) { return parseProgress(data, size, tree); });
    if (load.source == BackedUpLoad::Backup)
        LogHandler::log(LogHandler::Warning, kLogSource,
                        std::string(ProgressFileName) + " could not be read; the progress of its backup is used");
    else if (load.lost())
        LogHandler::log(LogHandler::Warning, kLogSource,
                        std::string(ProgressFileName) + " and its backup could not be read; they are kept aside");
    if (load.source != BackedUpLoad::None) applyProgress(tree);
}

void AchievementStore::applyProgress(const pt::ptree& tree) {
    const pt::ptree& progress = tree.get_child("Progress");

    // Children are taken by their element names, never as paths, so names with dots stay whole.
    for (const auto& [name, element] : progress.get_child("Unlocked")) {
        const auto found = m_achievements.find(name);
        if (found != m_achievements.end()) unlock(found->second);
    }
    for (const auto& [name, element] : progress.get_child("Counters")) {
        const auto found = m_counters.find(name);
        if (found == m_counters.end()) continue;
        const boost::optional<std::int32_t> value = element.get_value_optional<std::int32_t>();
        if (!value) continue;
        const std::int32_t mode = found->second.mode;
        const bool fixed = mode != AchievementCounterAdd && mode != AchievementCounterMaximum;
        updateCounter(*value, fixed, name);
    }
}

void AchievementStore::saveProgress() {
    if (m_enabled) {
        pt::ptree tree;
        pt::ptree& progress = tree.add_child("Progress", pt::ptree());
        pt::ptree& unlocked = progress.add_child("Unlocked", pt::ptree());
        for (const Achievement* achievement : m_achievementOrder)
            if (achievement->unlocked) unlocked.push_back({achievement->name, pt::ptree()});
        pt::ptree& counters = progress.add_child("Counters", pt::ptree());
        for (const AchievementCounter* counter : m_counterOrder)
            if (!counter->quiet) counters.push_back({counter->name, pt::ptree(std::to_string(counter->value))});

        std::ostringstream text;
        pt::write_xml(text, tree, pt::xml_writer_make_settings<std::string>('\t', 1, "utf-8"));
        const std::string bytes = text.str();
        pt::ptree check;
        std::string error;
        if (!writeBackedUpFile(
                ProgressFileName, bytes.data(), bytes.size(),
                [&check](const ByteArray& data, std::size_t size) { return parseProgress(data, size, check); }, &error))
            LogHandler::log(LogHandler::Warning, kLogSource, "Could not write the progress file: " + error);
    }
    m_saved.fireNoArgs();
}

void AchievementStore::updateCounter(std::int32_t value, bool set, const std::string& name) {
    AchievementCounter& counter = counterEntry(name);
    const std::int32_t old = counter.value;
    if (set) {
        counter.value = value;
    } else if (counter.mode == AchievementCounterAdd) {
        // Wraps like the 32-bit sum it has always been, without undefined overflow.
        counter.value = std::int32_t(std::uint32_t(old) + std::uint32_t(value));
    } else if (counter.mode == AchievementCounterMaximum) {
        counter.value = std::max(old, value);
    }
    if (counter.value == old) return;

    // By index: a listener may raise other counters meanwhile.
    for (std::size_t i = 0; i < counter.achievements.size(); ++i) {
        Achievement* achievement = counter.achievements[i];
        if (achievement->unlocked) continue;
        if (counter.value >= achievement->threshold) unlock(*achievement);
        if (!counter.quiet) m_progress.fire(achievement);
    }
}

void AchievementStore::unlock(const std::string& name) {
    Achievement* achievement = findAchievement(name);
    if (achievement && !achievement->unlocked) unlock(*achievement);
}

void AchievementStore::unlock(Achievement& achievement) {
    achievement.unlocked = true;
    m_unlocked.fire(&achievement);
}

void AchievementStore::reset() {
    for (AchievementCounter* counter : m_counterOrder) counter->value = 0;
    for (Achievement* achievement : m_achievementOrder) achievement->unlocked = false;
    saveProgress();
    m_reset.fireNoArgs();
}

Achievement* AchievementStore::findAchievement(const std::string& name) {
    const auto found = m_achievements.find(name);
    return found == m_achievements.end() ? nullptr : &found->second;
}

AchievementCounter* AchievementStore::findCounter(const std::string& name) {
    const auto found = m_counters.find(name);
    return found == m_counters.end() ? nullptr : &found->second;
}

AchievementCounter& AchievementStore::counterEntry(const std::string& name) {
    const auto [entry, added] = m_counters.try_emplace(name);
    if (added) {
        entry->second.name = name;
        m_counterOrder.push_back(&entry->second);
    }
    return entry->second;
}

Achievement& AchievementStore::achievementEntry(const std::string& name) {
    const auto [entry, added] = m_achievements.try_emplace(name);
    if (added) {
        entry->second.name = name;
        m_achievementOrder.push_back(&entry->second);
    }
    return entry->second;
}

AchievementStore& localAchievements() {
    static AchievementStore store;
    return store;
}

void initLocalAchievements() { localAchievements().init(); }
void loadAchievementDefinitions() { localAchievements().loadDefinitions(); }
void loadAchievementProgress() { localAchievements().loadProgress(); }
void saveAchievementProgress() { localAchievements().saveProgress(); }
void updateAchievementCounter(std::int32_t value, bool set, const std::string& name) {
    localAchievements().updateCounter(value, set, name);
}
void unlockAchievement(const std::string& name) { localAchievements().unlock(name); }
Achievement* findAchievement(const std::string& name) { return localAchievements().findAchievement(name); }
bool hasAchievementCounter(const std::string& name) { return localAchievements().hasCounter(name); }
void resetAchievements() { localAchievements().reset(); }

} // namespace zor
