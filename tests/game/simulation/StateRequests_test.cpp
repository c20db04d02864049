#include "Framework/core/debug/DebugFlags.h"
#include "Framework/core/io/Files.h"
#include "Framework/core/settings/SettingsHandler.h"
#include "game/definitions/PatchLibrary.h"
#include "game/simulation/StateRequests.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace zor {
namespace {

using Requests = std::vector<std::pair<std::int32_t, std::int32_t>>;

class StateRequestsTest : public ::testing::Test {
protected:
    void SetUp() override {
        initFileSystem("BundlePC");
        new SettingsHandler();
        watchForcedPatchSetting([this](const StateRequest& request) {
            made.emplace_back(request.kind, request.value);
            return 0;
        });
    }
    void TearDown() override {
        watchForcedPatchSetting(nullptr);
        delete SettingsHandler::instancePointer();
    }

    Requests made;
};

TEST_F(StateRequestsTest, MenuDebugCommandsBecomeStateRequestsOnce) {
    DebugFlag& levels = declareDebugToggle(DebugToggle("levels", DebugToggle::OneShot, "state"));
    DebugFlag& restart = declareDebugToggle(DebugToggle("restart", DebugToggle::OneShot, "menu"));
    serveStateRequests();
    EXPECT_TRUE(made.empty());
    levels = true;
    serveStateRequests();
    EXPECT_EQ(made, Requests({{RequestState, StateLevels}}));
    EXPECT_FALSE(levels);
    restart = true;
    levels = true;
    serveStateRequests();
    serveStateRequests();
    EXPECT_EQ(made, Requests({{RequestState, StateLevels}, {RequestState, StateLevels}, {RequestState, StateMenus}}));
}

TEST_F(StateRequestsTest, ForcingAPatchReloadsThePatchLibraryAndRestartsTheGameAtOnce) {
    SettingsHandler& settings = SettingsHandler::instance();
    settings.setValue("Debug.SetLevel", std::string("mine_1"));
    settings.setValue("Debug.ForceSpecificPatch", std::string(""));
    EXPECT_TRUE(made.empty()) << "other settings, and clearing the patch, change nothing";

    int libraryReads = 0;
    setPatchLibrarySectionReader([&libraryReads](ByteReader&, const StringTable&) { ++libraryReads; });
    settings.setValue("Debug.ForceSpecificPatch", std::string("glimmer_vault"));
    setPatchLibrarySectionReader(nullptr);
    EXPECT_EQ(libraryReads, 1);
    EXPECT_EQ(made, Requests({{RequestStateAtOnce, StateIngame}}));

    watchForcedPatchSetting(nullptr);
    settings.setValue("Debug.ForceSpecificPatch", std::string("glimmer_vault"));
    EXPECT_EQ(made.size(), 1u) << "without a request handler the game does nothing";
}

} // namespace
} // namespace zor
