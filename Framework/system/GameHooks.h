#pragma once
// What the engine calls of the game during system initialisation and every update step.
// The game installs its hooks before start-up; a hook left empty is skipped, so the
// engine runs before the game's subsystems exist.

#include "Framework/system/surface/StateRequest.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <utility>

namespace zor {

class GameSession;
class ISettingsDebugMenu;
class SystemComponents;

struct GameHooks {
    // The menu item factories by layout type name.
    std::function<void()> registerMenuItemTypes;
    // The state factories (registerStateFactory), script node types and handlers.
    std::function<void()> registerGameFactories;
    // The virtual sizes of the viewports.
    std::function<void()> setDefaultViewSizes;
    // The game session with every field zero; the game keeps it too.
    std::function<std::shared_ptr<GameSession>()> createGameSession;
    // Textures of the key prompts.
    std::function<void()> loadKeyTextures;
    // Reads the user's session file into the session.
    std::function<void(GameSession& session)> loadGameSession;
    // Hands the game the state request handler for its own requests.
    std::function<void(StateRequestFunction request)> watchForcedPatchSetting;
    // The game's pending state requests, once per update step before the fade.
    std::function<void()> serveStateRequests;
    // The game's hold on the system components.
    std::function<void(SystemComponents& components)> attachStateManager;
    // The game's debug commands.
    std::function<void()> registerMenuDebugCommands;
    // The settings debug menu, starting at the given page.
    std::function<std::unique_ptr<ISettingsDebugMenu>(SystemComponents& components, std::int32_t page)>
        createSettingsDebugMenu;
};

GameHooks& gameHooks();

// Calls the hook when it is set.
template <class Hook, class... Args>
void callGameHook(const Hook& hook, Args&&... args) {
    if (hook) hook(std::forward<Args>(args)...);
}

} // namespace zor
