#include "Framework/store/SteamLeaderboards.h"

#include "Framework/store/LeaderboardDefinitions.h"

#include <algorithm>

namespace zor {

namespace {

LeaderboardSort storeSort(std::int32_t sort) {
    return sort == LeaderboardSortAscending || sort == LeaderboardSortDescending ? LeaderboardSort(sort)
                                                                                  : LeaderboardSortNone;
}

LeaderboardDisplay storeDisplay(std::int32_t display) {
    return display >= LeaderboardDisplayNumeric && display <= LeaderboardDisplayMilliseconds
               ? LeaderboardDisplay(display)
               : LeaderboardDisplayNone;
}

LeaderboardUploadMethod storeUploadMethod(std::int32_t method) {
    return method == LeaderboardUploadKeepBest || method == LeaderboardUploadForceUpdate
               ? LeaderboardUploadMethod(method)
               : LeaderboardUploadNone;
}

} // namespace

SteamLeaderboards::SteamLeaderboards(IStoreService& service)
    : m_service(service),
      m_findResult(service, [this](const LeaderboardFindResult& result, bool ioFailure) {
          onLeaderboardFound(result, ioFailure);
      }),
      m_uploadResult(service, [](const LeaderboardScoreUploaded&, bool) {}) {}

void SteamLeaderboards::connect(LeaderboardDefinitions& definitions, std::vector<EventConnection>& connections) {
    connections.push_back(definitions.leaderboardRegistered().connect(this, &SteamLeaderboards::findOrCreate));
    connections.push_back(definitions.leaderboardScoreUpload().connect(this, &SteamLeaderboards::upload));
}

void SteamLeaderboards::findOrCreate(const LeaderboardDefinition& definition) {
    if (m_findInFlight) {
        m_pendingFinds.push_back(definition);
        return;
    }
    const StoreCall call = m_service.findOrCreateLeaderboard(definition.name, storeSort(definition.sort),
                                                             storeDisplay(definition.display));
    if (call == 0) return;
    m_findInFlight = true;
    m_findResult.set(call);
}

void SteamLeaderboards::onLeaderboardFound(const LeaderboardFindResult& result, bool ioFailure) {
    // A failed find must not hold up the definitions queued behind it.
    m_findInFlight = false;
    if (result.found && !ioFailure) {
        const std::string name = m_service.leaderboardName(result.leaderboard);
        m_leaderboards[name] = StoreLeaderboard{name, result.leaderboard};
    }
    startPendingFinds();
}

void SteamLeaderboards::startPendingFinds() {
    while (!m_findInFlight && !m_pendingFinds.empty()) {
        const LeaderboardDefinition next = m_pendingFinds.front();
        m_pendingFinds.pop_front();
        findOrCreate(next);
    }
}

void SteamLeaderboards::upload(const LeaderboardDefinition& definition, const LeaderboardScoreRecord& record) {
    const auto found = m_leaderboards.find(definition.name);
    if (found == m_leaderboards.end()) return;
    // The store reads exactly this many values, so the record never decides the count.
    const std::int32_t count = std::clamp(definition.additionalFieldCount, 0, IStoreService::MaxLeaderboardDetails);
    std::vector<std::int32_t> details(std::size_t(count), 0);
    std::copy_n(record.details.begin(), std::min(details.size(), record.details.size()), details.begin());
    m_uploadResult.set(m_service.uploadLeaderboardScore(found->second.handle, storeUploadMethod(record.uploadMethod),
                                                        record.score, details));
}

} // namespace zor
