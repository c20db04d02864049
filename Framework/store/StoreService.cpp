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

struct StoreState {
    NoStoreClient noClient;
    std::unique_ptr<IStoreService> installed;
    StoreOverlayListener overlayListener;
    std::unique_ptr<StoreCallback<StoreOverlayActivated>> overlayCallback;
};

// Never destroyed: the store mirrors and listeners held by other static objects unregister
// from the service when those objects go at process exit, whatever the order.
StoreState& state() {
    static StoreState* const instance = new StoreState;
    return *instance;
}

void registerOverlayCallback() {
    StoreState& s = state();
    s.overlayCallback.reset();
    if (!s.overlayListener) return;
    s.overlayCallback = std::make_unique<StoreCallback<StoreOverlayActivated>>(
        storeService(), [](const StoreOverlayActivated& message) { state().overlayListener(message.active != 0); });
}

} // namespace

IStoreService& storeService() {
    StoreState& s = state();
    return s.installed ? *s.installed : static_cast<IStoreService&>(s.noClient);
}

void setStoreService(std::unique_ptr<IStoreService> service) {
    state().overlayCallback.reset();
    state().installed = std::move(service);
    registerOverlayCallback();
}

bool storeInit() { return storeService().init(); }

void storeShutdown() { storeService().shutdown(); }

bool storeClientPresent() { return storeService().clientPresent(); }

void storeRunCallbacks() { storeService().runCallbacks(); }

void setStoreOverlayListener(StoreOverlayListener listener) {
    state().overlayListener = std::move(listener);
    registerOverlayCallback();
}

} // namespace zor
