#include "Framework/store/SteamAchievements.h"

#include "Framework/store/AchievementStore.h"

namespace zor {

SteamAchievements::SteamAchievements(IStoreService& service, AchievementStore& store)
    : m_service(service),
      m_store(store),
      m_userStatsReceived(service, [this](const UserStatsReceived& message) { onUserStatsReceived(message); }),
      m_userStatsStored(service, [](const UserStatsStored&) {}),
      m_userAchievementStored(service, [](const UserAchievementStored&) {}),
      m_gameId(service.appId()) {
    if (m_service.userLoggedOn()) m_service.requestCurrentStats();
}

void SteamAchievements::connect(std::vector<EventConnection>& connections) {
    connections.push_back(m_store.achievementProgress().connect(this, &SteamAchievements::onProgress));
    connections.push_back(m_store.achievementUnlocked().connect(this, &SteamAchievements::onUnlocked));
    connections.push_back(m_store.achievementsReset().connect(this, &SteamAchievements::onReset));
    connections.push_back(m_store.progressSaved().connect(this, &SteamAchievements::onSaved));
}

void SteamAchievements::onUserStatsReceived(const UserStatsReceived& message) {
    if (message.gameId != m_gameId || message.result != StoreResultOk) return;
    m_statsReceived = true;
    // By index: the local updates below fire events whose listeners may define counters.
    const std::vector<Achievement*>& achievements = m_store.achievements();
    for (std::size_t i = 0; i < achievements.size(); ++i) {
        const Achievement& achievement = *achievements[i];
        bool achieved = false;
        if (m_service.getAchievement(achievement.name, achieved) && achieved) m_store.unlock(achievement.name);
        const AchievementCounter& counter = *achievement.counter;
        std::int32_t value = 0;
        if (counter.storeStat && m_service.getStat(counter.name, value)) m_store.updateCounter(value, true, counter.name);
    }
}

void SteamAchievements::onProgress(const Achievement* achievement) {
    const Achievement* record = m_store.findAchievement(achievement->name);
    if (!record || !record->counter) return;
    const AchievementCounter& counter = *record->counter;
    if (counter.storeStat && m_statsReceived) m_service.setStat(counter.name, counter.value);
    if (counter.value >= record->threshold && m_statsReceived) {
        m_service.setAchievement(record->name);
        m_service.storeStats();
    }
}

void SteamAchievements::onUnlocked(const Achievement* achievement) {
    if (!m_statsReceived) return;
    m_service.setAchievement(achievement->name);
    m_service.storeStats();
}

void SteamAchievements::onReset() { m_service.resetAllStats(true); }

void SteamAchievements::onSaved() { m_service.storeStats(); }

} // namespace zor
