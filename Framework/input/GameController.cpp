#include "Framework/input/GameController.h"

#include "Framework/core/events/SystemEvents.h"
#include "Framework/input/InputConfig.h"
#include "Framework/input/InputState.h"
#include "Framework/input/ScancodeTables.h"

#include <SDL.h>

namespace zor {
namespace {

constexpr int ControllerButtonCount = ControllerBind::NoButton;
constexpr int ControllerAxisCount = ControllerBind::NoAxis;

SDL_GameController* g_controller = nullptr;
SDL_Joystick* g_joystick = nullptr;
std::vector<ControllerBind> g_binds;
bool g_gamepadInUse = false;

ControllerBind makeBind(const SDL_GameControllerButtonBind& sdl, int button, int axis) {
    ControllerBind bind;
    bind.bindType = sdl.bindType;
    switch (sdl.bindType) {
    case SDL_CONTROLLER_BINDTYPE_BUTTON: bind.bindValue = sdl.value.button; break;
    case SDL_CONTROLLER_BINDTYPE_AXIS: bind.bindValue = sdl.value.axis; break;
    case SDL_CONTROLLER_BINDTYPE_HAT:
        bind.bindValue = sdl.value.hat.hat;
        bind.hatMask = sdl.value.hat.hat_mask;
        break;
    default: break;
    }
    bind.controllerButton = button;
    bind.controllerAxis = axis;
    return bind;
}

// SDL does not know every controller; the player's gamepads file can teach it.
void addMappingFromFile(int deviceIndex) {
    SDL_Joystick* joystick = SDL_JoystickOpen(deviceIndex);
    if (!joystick) return;
    char guid[33] = {};
    SDL_JoystickGetGUIDString(SDL_JoystickGetGUID(joystick), guid, sizeof guid);
    const std::string mapping = findGamepadMapping(guid);
    if (!mapping.empty()) SDL_GameControllerAddMapping(mapping.c_str());
    SDL_JoystickClose(joystick);
}

void fire(EventList<> SystemEvents::*list) {
    if (SystemEvents::exists()) (SystemEvents::instance().*list).fireNoArgs();
}

} // namespace

bool openGameController(int deviceIndex) {
    if (g_controller) return false;
    if (!SDL_IsGameController(deviceIndex)) addMappingFromFile(deviceIndex);
    if (!SDL_IsGameController(deviceIndex)) return false;
    SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
    if (!controller) return false;
    SDL_Joystick* joystick = SDL_GameControllerGetJoystick(controller);
    if (!joystick) {
        SDL_GameControllerClose(controller);
        return false;
    }
    g_controller = controller;
    g_joystick = joystick;

    g_binds.clear();
    for (int button = 0; button < ControllerButtonCount; ++button) {
        g_binds.push_back(makeBind(
            SDL_GameControllerGetBindForButton(controller, static_cast<SDL_GameControllerButton>(button)), button,
            ControllerBind::NoAxis));
    }
    for (int axis = 0; axis < ControllerAxisCount; ++axis) {
        g_binds.push_back(makeBind(
            SDL_GameControllerGetBindForAxis(controller, static_cast<SDL_GameControllerAxis>(axis)),
            ControllerBind::NoButton, axis));
    }

    fire(&SystemEvents::gamepadConnected);
    g_gamepadInUse = true;
    return true;
}

void closeDetachedGameController() {
    if (!g_controller || SDL_GameControllerGetAttached(g_controller)) return;
    SDL_GameControllerClose(g_controller);
    g_controller = nullptr;
    g_joystick = nullptr;
    fire(&SystemEvents::gamepadDisconnected);
    g_gamepadInUse = false;
    const int count = SDL_NumJoysticks();
    for (int index = 0; index < count; ++index) {
        if (openGameController(index)) break;
    }
}

bool isGameControllerOpen() {
    return g_controller != nullptr;
}

const std::vector<ControllerBind>& controllerBinds() {
    return g_binds;
}

void pollGameController(InputState& input) {
    if (!g_controller) return;
    for (const ControllerBind& bind : g_binds) {
        int value = 0;
        switch (bind.bindType) {
        case ControllerBind::Button: value = SDL_JoystickGetButton(g_joystick, bind.bindValue) == 1 ? 1 : 0; break;
        case ControllerBind::Axis: value = SDL_JoystickGetAxis(g_joystick, bind.bindValue); break;
        // A diagonal is neither of its two directions.
        case ControllerBind::Hat: value = SDL_JoystickGetHat(g_joystick, bind.bindValue) == bind.hatMask ? 1 : 0; break;
        default: continue;
        }
        if (bind.isAxis())
            input.setAnalogueValue(gamepadAxisToAnalogue(bind.controllerAxis), static_cast<float>(value));
        else
            input.setKeyHeld(gamepadButtonToKey(bind.controllerButton), value != 0);
    }
}

bool isGamepadInUse() {
    return g_gamepadInUse;
}

void setGamepadInUse(bool inUse) {
    g_gamepadInUse = inUse;
}

} // namespace zor
