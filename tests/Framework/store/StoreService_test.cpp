#include "Framework/store/StoreService.h"

#include "tests/Framework/store/FakeStoreService.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace zor {
namespace {

TEST(StoreServiceTest, WithoutAClientNothingStartsAndNothingIsPresent) {
    EXPECT_FALSE(storeInit());
    EXPECT_FALSE(storeClientPresent());
    EXPECT_FALSE(storeService().userLoggedOn());
    EXPECT_EQ(storeService().findOrCreateLeaderboard("Alpha", LeaderboardSortAscending, LeaderboardDisplayNumeric), 0u);
    storeRunCallbacks();
    storeShutdown();
}

TEST(StoreServiceTest, InstalledServiceServesTheSeamAndTheOverlayListenerFollowsIt) {
    auto owned = std::make_unique<test::FakeStoreService>();
    test::FakeStoreService& fake = *owned;
    std::vector<bool> overlay;
    setStoreOverlayListener([&overlay](bool active) { overlay.push_back(active); });
    setStoreService(std::move(owned));

    EXPECT_TRUE(storeInit());
    EXPECT_TRUE(storeClientPresent());
    fake.sendCallback(StoreOverlayActivated{1});
    fake.sendCallback(StoreOverlayActivated{0});
    storeRunCallbacks();
    EXPECT_EQ(overlay, (std::vector<bool>{true, false}));

    setStoreOverlayListener({});
    fake.sendCallback(StoreOverlayActivated{1});
    storeRunCallbacks();
    EXPECT_EQ(overlay.size(), 2u);
    storeShutdown();
    EXPECT_EQ(fake.calls, (std::vector<std::string>{"Init", "Shutdown"}));
    EXPECT_EQ(fake.registrations, (std::vector<std::string>{"RegisterCallback 331", "UnregisterCallback 331"}));

    setStoreService(nullptr);
    EXPECT_FALSE(storeClientPresent());
}

} // namespace
} // namespace zor
