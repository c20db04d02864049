#include "Framework/core/debug/DebugFlags.h"
#include "Framework/core/io/Files.h"
#include "Framework/core/settings/SettingsHandler.h"
#include "game/definitions/LoadAllDefinitions.h"
#include "game/definitions/PatchLibrary.h"
#include "game/simulation/PlayStart.h"
#include "game/simulation/StateRequests.h"

#include <gtest/gtest.h>

#include <algorithm>
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

TEST_F(StateRequestsTest, StateCommandsAreServedOnePerStepRestartFirst) {
    SettingsHandler& settings = SettingsHandler::instance();
    settings.loadDefinitions("Definitions/settings.xml");
    const StateCommands commands = stateCommands();
    struct Case {
        const char* name;
        std::vector<DebugFlag*> given;
        Requests served;  // one step each
    };
    const Case cases[] = {
        {"restart before menu", {&commands.restart, &commands.menu},
         {{RequestReload, 0}, {RequestState, StateMenus}}},
        {"levels before menu", {&commands.menu, &commands.levels}, {{RequestState, StateLevels}, {RequestState, StateMenus}}},
        {"the older name of menu", {&commands.menuAlias}, {{RequestState, StateMenus}}},
        {"both names of menu make one request", {&commands.menuAlias, &commands.menu}, {{RequestState, StateMenus}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        made.clear();
        for (DebugFlag* flag : c.given) *flag = true;
        for (std::size_t step = 0; step < c.served.size() + 1; ++step) {
            serveStateRequests();
            EXPECT_EQ(made.size(), std::min(step + 1, c.served.size())) << "one request per step";
        }
        EXPECT_EQ(made, c.served);
    }
    // The restart starts a new game in the town with the base items.
    EXPECT_EQ(settings.getString("Debug.SetLevel"), "shalebury");
    EXPECT_TRUE(settings.getBool("Debug.GiveBaseItems"));
}

TEST_F(StateRequestsTest, APatchForcedBeforeTheGameDataIsLoadedWaitsForThePlayStart) {
    if (allDefinitionsLoaded()) GTEST_SKIP() << "an earlier test of this process loaded the game data";
    SettingsHandler& settings = SettingsHandler::instance();
    settings.loadDefinitions("Definitions/settings.xml");
    int libraryReads = 0;
    setPatchLibrarySectionReader([&libraryReads](ByteReader&, const StringTable&) { ++libraryReads; });
    settings.setValue("Debug.ForceSpecificPatch", std::string("deep_room;hall"));
    setPatchLibrarySectionReader(nullptr);
    EXPECT_EQ(libraryReads, 0);
    EXPECT_TRUE(made.empty());
    EXPECT_EQ(takePlayStart(nullptr).forcedPatch, "deep_room;hall");
}

TEST_F(StateRequestsTest, ARestartStartsANewGameOnce) {
    SettingsHandler& settings = SettingsHandler::instance();
    settings.loadDefinitions("Definitions/settings.xml");
    stateCommands().restart = true;
    serveStateRequests();
    EXPECT_TRUE(takePlayStart(nullptr).newGame);
    EXPECT_FALSE(takePlayStart(nullptr).newGame) << "the next start reads the save again";
}

TEST_F(StateRequestsTest, ForcingAPatchReloadsThePatchLibraryAndRestartsTheGameAtOnce) {
    loadAllDefinitions();
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
