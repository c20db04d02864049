#include "game/ui/GameStates.h"

#include "Framework/graphics/screen/Screen.h"
#include "Framework/menu/MenuItemFactoryRegistry.h"
#include "Framework/graphics/text/TextMesh.h"
#include "Framework/system/GameHooks.h"
#include "Framework/system/SystemComponents.h"
#include "Framework/system/surface/StateMachine.h"
#include "game/simulation/GameSession.h"
#include "game/simulation/StateRequests.h"
#include "game/simulation/ports/GamePorts.h"
#include "game/ui/ErrorMenu.h"
#include "game/ui/Ingame.h"
#include "game/ui/KeyTextures.h"
#include "game/ui/LoadingScreen.h"
#include "game/ui/MenuDebugCommands.h"
#include "game/ui/ProgramPorts.h"
#include "game/ui/SettingsDebugMenu.h"
#include "game/ui/StandInState.h"
#include "game/world/level/LevelDefinition.h"
#include "game/world/level/PatchLibrarySections.h"
#include "game/world/physics/PhysicsDebugCanvas.h"
#include "game/world/physics/ShapePairTests.h"

#include <utility>

namespace zor {

namespace {

StateFactory standIn(std::int32_t stateId) {
    return [stateId](StateRequestFunction request, SystemComponents* components) -> std::unique_ptr<StateSurface> {
        return std::make_unique<StandInState>(stateId, std::move(request), components);
    };
}

void setViewSize(Screen::Viewport& viewport, float width, float height) {
    viewport.virtualWidth = width;
    viewport.virtualHeight = height;
    viewport.scaleMode = Screen::ScaleCover;
    viewport.updateScale();
}

} // namespace

void registerGameFactories() {
    registerStateFactory(StateLogos,
                         [](StateRequestFunction request, SystemComponents* components) -> std::unique_ptr<StateSurface> {
                             return std::make_unique<LoadingScreen>(std::move(request), *components);
                         });
    registerStateFactory(StateIngame,
                         [](StateRequestFunction request, SystemComponents* components) -> std::unique_ptr<StateSurface> {
                             return std::make_unique<Ingame>(std::move(request), *components);
                         });
    // Menus, Intro and Levels arrive with the front end; the in-game host is registered.
    for (std::int32_t id = StandInState::FirstState; id <= StandInState::LastState; ++id)
        registerStateFactory(id, standIn(id));
    registerStateFactory(StateErrorMenu,
                         [](StateRequestFunction request, SystemComponents* components) -> std::unique_ptr<StateSurface> {
                             return std::make_unique<ErrorMenu>(std::move(request), *components);
                         });
    // The physics' debug switches, offered before the first level exists.
    physicsDebugSwitches();
    installShapePairTests();
    const GamePorts& ports = *programGamePorts();
    ports.registerLogicNodeTypes();
    ports.registerActionNodeTypes();
    // The menu items "inventoryslot" and "indicator" are registered here too.
    // The load-all job, posted later, fills the world's patch library tables.
    installPatchLibraryReader();
}

void setDefaultViewSizes() {
    std::vector<Screen::Viewport>& viewports = Screen::viewports();
    if (!viewports.empty()) {
        setViewSize(viewports[0], 640.0f, 360.0f);
        setLevelViewWidth(viewports[0].virtualWidth);
    }
    if (viewports.size() > 1) setViewSize(viewports[1], 320.0f, 240.0f);
    // Text alignment offsets stay unrounded from here on.
    setTextPixelSnap(false);
}

std::shared_ptr<GameSession> createGameSession() {
    gameSession() = std::make_shared<GameSession>();
    return gameSession();
}

void installGameHooks() {
    GameHooks& hooks = gameHooks();
    programGamePorts() = std::make_shared<ProgramPorts>();
    // The menu item types and the game's hold on the state manager join with the menu
    // library and the game.
    hooks.registerMenuItemTypes = &registerMenuItemTypes;
    hooks.registerGameFactories = &registerGameFactories;
    hooks.setDefaultViewSizes = &setDefaultViewSizes;
    hooks.createGameSession = &createGameSession;
    hooks.loadKeyTextures = &loadKeyTextures;
    hooks.loadGameSession = [](GameSession& session) { session.load(); };
    hooks.watchForcedPatchSetting = &watchForcedPatchSetting;
    hooks.serveStateRequests = &serveStateRequests;
    hooks.registerMenuDebugCommands = &registerMenuDebugCommands;
    hooks.createSettingsDebugMenu = [](SystemComponents& components,
                                       std::int32_t page) -> std::unique_ptr<ISettingsDebugMenu> {
        return std::make_unique<SettingsDebugMenu>(components, page);
    };
}

} // namespace zor
