#include "Framework/store/StoreService.h"

#include "Framework/store/StoreCallback.h"

#include <utility>

namespace zor {

namespace {

// No store client runs: nothing is ever answered, so no listener is kept.
class NoStoreClient final : public IStoreService {
public:
    bool init() override { return false; }
    void shutdown() override {}
    bool clientPresent() override { return false; }
    void runCallbacks() override {}
    void registerCallback(StoreCallbackBase&) override {}
    void unregisterCallback(StoreCallbackBase&) override {}
    void registerCallResult(StoreCallResultBase&, StoreCall) override {}
    void unregisterCallResult(StoreCallResultBase&, StoreCall) override {}
    std::uint32_t appId() override { return 0; }
    bool userLoggedOn() override { return false; }
    bool requestCurrentStats() override { return false; }
    bool getStat(const std::string&, std::int32_t&) override { return false; }
    bool setStat(const std::string&, std::int32_t) override { return false; }
    bool getAchievement(const std::string&, bool&) override { return false; }
    bool setAchievement(const std::string&) override { return false; }
    bool storeStats() override { return false; }
    bool resetAllStats(bool) override { return false; }
    StoreCall findOrCreateLeaderboard(const std::string&, LeaderboardSort, LeaderboardDisplay) override { return 0; }
    std::string leaderboardName(StoreLeaderboardHandle) override { return {}; }
    StoreCall uploadLeaderboardScore(StoreLeaderboardHandle, LeaderboardUploadMethod, std::int32_t,
                                     const std::vector<std::int32_t>&) override {
        return 0;
    }
};

// Defined before the overlay callback, so that the callback unregisters before these go.
NoStoreClient g_noClient;
std::unique_ptr<IStoreService> g_installed;

StoreOverlayListener g_overlayListener;
std::unique_ptr<StoreCallback<StoreOverlayActivated>> g_overlayCallback;

void registerOverlayCallback() {
    g_overlayCallback.reset();
    if (!g_overlayListener) return;
    g_overlayCallback = std::make_unique<StoreCallback<StoreOverlayActivated>>(
        storeService(), [](const StoreOverlayActivated& message) { g_overlayListener(message.active != 0); });
}

} // namespace

IStoreService& storeService() { return g_installed ? *g_installed : static_cast<IStoreService&>(g_noClient); }

void setStoreService(std::unique_ptr<IStoreService> service) {
    g_overlayCallback.reset();
    g_installed = std::move(service);
    registerOverlayCallback();
}

bool storeInit() { return storeService().init(); }

void storeShutdown() { storeService().shutdown(); }

bool storeClientPresent() { return storeService().clientPresent(); }

void storeRunCallbacks() { storeService().runCallbacks(); }

void setStoreOverlayListener(StoreOverlayListener listener) {
    g_overlayListener = std::move(listener);
    registerOverlayCallback();
}

} // namespace zor
