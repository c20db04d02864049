// The error state's ways out.

#include <vector>

#include "Framework/graphics/screen/Screen.h"
#include "Framework/input/InputState.h"
#include "Framework/input/KeyNames.h"
#include "Framework/system/SystemComponents.h"
#include "game/ui/ErrorMenu.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

TEST(ErrorMenu, AcceptRequestsTheMenusAndCancelEndsTheProgram) {
    Screen::initViewports();
    SystemComponents components(nullptr, nullptr, nullptr, nullptr);
    struct Case {
        const char* key;
        StateRequest expected;
    } const cases[] = {{"Key.Return", {RequestState, StateMenus}}, {"Key.Escape", {RequestQuit, 0}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        std::vector<StateRequest> requests;
        ErrorMenu menu(
            [&requests](const StateRequest& request) {
                requests.push_back(request);
                return 0;
            },
            components);
        InputState input;
        input.bind("menu_accept", "Key.Return");
        input.bind("menu_cancel", "Key.Escape");
        EXPECT_FALSE(menu.handleInput(input)) << "nothing pressed";
        input.setKeyPressed(*findKeyCode(c.key), true);
        EXPECT_TRUE(menu.handleInput(input));
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_EQ(requests[0].kind, c.expected.kind);
        EXPECT_EQ(requests[0].value, c.expected.value);
    }
}

} // namespace
} // namespace zor
