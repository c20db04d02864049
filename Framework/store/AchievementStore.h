#pragma once
// The local achievements: named counters that the game raises, and achievements that
// unlock when their counter reaches a threshold. Definitions come from the achievements
// file at start-up; the values are kept in the user's "progress.xml" when the setting
// "World.LocalAchievements" is on. Every change is announced on four event lists, which the
// store mirror and the user interface follow. Main thread only; nothing here is locked.

#include "Framework/core/events/EventList.h"
#include "Framework/store/AchievementFile.h"

#include <boost/property_tree/ptree_fwd.hpp>

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace zor {

struct Achievement;

// How an update without the set flag changes a counter.
enum AchievementCounterMode : std::int32_t {
    AchievementCounterAdd = 0,     // the given value is added
    AchievementCounterMaximum = 1, // the larger of old and given value is kept
    AchievementCounterFixed = 2,   // (and any other value) only a set changes it
};

struct AchievementCounter {
    std::string name;
    std::int32_t value = 0;
    std::int32_t mode = AchievementCounterAdd;
    bool quiet = false;     // fires no progress events and is not saved
    bool storeStat = false; // mirrored to the store statistic of the same name
    std::vector<Achievement*> achievements;
};

struct Achievement {
    std::string name;
    AchievementCounter* counter = nullptr;
    std::int32_t threshold = 0;
    bool unlocked = false;
};

class AchievementStore {
public:
    using AchievementEvent = EventList<const Achievement*>;
    using StoreEvent = EventList<>;

    static constexpr const char* ProgressFileName = "progress.xml";
    static constexpr const char* EnabledSetting = "World.LocalAchievements";

    AchievementStore() = default;
    AchievementStore(const AchievementStore&) = delete;
    AchievementStore& operator=(const AchievementStore&) = delete;

    // Start-up: the definitions, then the setting as it is now (false without a settings
    // handler), then the progress when that is on.
    void init();
    // Reads the achievements file of the game data folder; a missing file defines nothing.
    // A damaged one throws CheckReleaseError and changes nothing.
    void loadDefinitions();
    // Each counter is (re)made at 0 with its mode and flag; each achievement locked on its
    // counter (made with mode 0 when the file does not list it).
    void define(const AchievementFile& file);

    // Applies "progress.xml" of the user folder: its unlocked achievements unlock (firing
    // again for those already unlocked), and each saved counter goes through its mode,
    // except that fixed counters are set. A file that does not parse or lacks one of its two
    // lists is moved aside (".corrupt-N") and its backup is read instead; with neither,
    // nothing is applied.
    void loadProgress();
    // Writes "progress.xml" when enabled (a failed write leaves the old file whole); the
    // present file becomes the backup only when it reads, else it is moved aside. Fires
    // progressSaved in every case.
    void saveProgress();

    // The named counter (made with mode 0 when unknown) takes the value (set) or combines it
    // by its mode. When the value changed, each of its locked achievements unlocks once the
    // value reaches its threshold and then gets a progress event, unless the counter is quiet.
    void updateCounter(std::int32_t value, bool set, const std::string& name);
    // Unlocks a known, locked achievement.
    void unlock(const std::string& name);
    // Every counter to 0 and every achievement locked, then saved; fires achievementsReset.
    void reset();

    Achievement* findAchievement(const std::string& name);
    AchievementCounter* findCounter(const std::string& name);
    bool hasCounter(const std::string& name) const { return m_counters.count(name) != 0; }

    // In the order the names were first defined.
    const std::vector<Achievement*>& achievements() const { return m_achievementOrder; }
    const std::vector<AchievementCounter*>& counters() const { return m_counterOrder; }

    AchievementEvent& achievementProgress() { return m_progress; }
    AchievementEvent& achievementUnlocked() { return m_unlocked; }
    StoreEvent& achievementsReset() { return m_reset; }
    StoreEvent& progressSaved() { return m_saved; }

private:
    AchievementCounter& counterEntry(const std::string& name);
    Achievement& achievementEntry(const std::string& name);
    void unlock(Achievement& achievement);
    void applyProgress(const boost::property_tree::ptree& tree);

    std::unordered_map<std::string, AchievementCounter> m_counters;
    std::unordered_map<std::string, Achievement> m_achievements;
    std::vector<AchievementCounter*> m_counterOrder;
    std::vector<Achievement*> m_achievementOrder;
    bool m_enabled = false;

    AchievementEvent m_progress;
    AchievementEvent m_unlocked;
    StoreEvent m_reset;
    StoreEvent m_saved;
};

// The program's one store, living until the process exits.
AchievementStore& localAchievements();

// The calls of the game, level scripts and start-up, each on localAchievements().
void initLocalAchievements();
void loadAchievementDefinitions();
void loadAchievementProgress();
void saveAchievementProgress();
void updateAchievementCounter(std::int32_t value, bool set, const std::string& name);
void unlockAchievement(const std::string& name);
// Null for an unknown name.
Achievement* findAchievement(const std::string& name);
bool hasAchievementCounter(const std::string& name);
void resetAchievements();

} // namespace zor
