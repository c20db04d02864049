#include "Framework/core/events/SystemEvents.h"
#include "Framework/input/GameController.h"
#include "Framework/input/InputConfig.h"
#include "Framework/input/ScancodeTables.h"
#include "Framework/input/SdlInput.h"
#include "tests/Framework/input/InputTestFolders.h"

#include <SDL.h>
#include <gtest/gtest.h>

namespace zor {
namespace {

TEST(ScancodeTables, KeysAndScancodesMapBothWays) {
    struct Case {
        const char* name;
        int scancode;
    } cases[] = {
        {"Key.Up", 82},       {"Key.Right", 79},     {"Key.A", 4},           {"Key.Z", 29},
        {"Key.1", 30},        {"Key.9", 38},         {"Key.0", 39},          {"Key.Return", 40},
        {"Key.Space", 44},    {"Key.Equals", 46},    {"Key.Slash", 56},      {"Key.F1", 58},
        {"Key.F12", 69},      {"Key.Pause", 72},     {"Key.PageDown", 78},   {"Key.NumLock", 83},
        {"Key.Numpad1", 89},  {"Key.Numpad0", 98},   {"Key.NumpadPeriod", 99}, {"Key.NumpadEquals", 103},
        {"Key.F15", 106},     {"Key.LeftCtrl", 224}, {"Key.RightAlt", 230},
    };
    for (const Case& c : cases) {
        const KeyCode code = *findKeyCode(c.name);
        EXPECT_EQ(keyToScancode(code), c.scancode) << c.name;
        EXPECT_EQ(scancodeToKey(c.scancode), code) << c.name;
    }
    for (KeyCode code = 0; code < KeyCodes::FirstMouse; ++code) {
        const int scancode = keyToScancode(code);
        ASSERT_NE(scancode, NoScancode) << keyNameForCode(code);
        EXPECT_EQ(scancodeToKey(scancode), code) << keyNameForCode(code);
    }
    for (KeyCode code : {101, 105, 106, 120, 121, 122, -1}) EXPECT_EQ(keyToScancode(code), NoScancode) << code;
    for (int scancode : {0, 100, 227, 511, 512, 513, -1}) EXPECT_EQ(scancodeToKey(scancode), KeyCodes::None) << scancode;
}

TEST(ScancodeTables, MouseAndControllerButtons) {
    EXPECT_EQ(mouseButtonToKey(SDL_BUTTON_LEFT), 101);
    EXPECT_EQ(mouseButtonToKey(SDL_BUTTON_MIDDLE), 103);
    EXPECT_EQ(mouseButtonToKey(SDL_BUTTON_RIGHT), 102);
    EXPECT_EQ(mouseButtonToKey(SDL_BUTTON_X1), 104);
    EXPECT_EQ(mouseButtonToKey(SDL_BUTTON_X2), 105);
    EXPECT_EQ(mouseButtonToKey(0), KeyCodes::None);
    EXPECT_EQ(mouseButtonToKey(6), KeyCodes::None);
    for (int button = 0; button < 15; ++button) EXPECT_EQ(gamepadButtonToKey(button), 106 + button);
    EXPECT_EQ(gamepadButtonToKey(SDL_CONTROLLER_BUTTON_MISC1), KeyCodes::None);
    EXPECT_EQ(gamepadButtonToKey(-1), KeyCodes::None);
    EXPECT_EQ(gamepadAxisToAnalogue(SDL_CONTROLLER_AXIS_LEFTX), 3);
    EXPECT_EQ(gamepadAxisToAnalogue(SDL_CONTROLLER_AXIS_TRIGGERRIGHT), 8);
    EXPECT_EQ(gamepadAxisToAnalogue(6), AnalogueCodes::Unknown);
}

SDL_Event keyEvent(Uint32 type, SDL_Scancode scancode, Uint8 repeat = 0) {
    SDL_Event event{};
    event.type = type;
    event.key.keysym.scancode = scancode;
    event.key.repeat = repeat;
    return event;
}

SDL_Event mouseEvent(Uint32 type, Uint8 button) {
    SDL_Event event{};
    event.type = type;
    event.button.button = button;
    return event;
}

SDL_Event controllerEvent(Uint32 type, Uint8 button) {
    SDL_Event event{};
    event.type = type;
    event.cbutton.button = button;
    return event;
}

TEST(InputEvents, RulesOfTheEventPump) {
    InputState input;
    input.bind("jump", "Key.Space");
    input.bind("jump", "Gamepad.A");
    input.bind("attack", "Mouse.Middle");
    input.bind("menu_any", "Key.Equals");

    struct Row {
        SDL_Event event;
        bool input;            // the rule took it
        const char* pressed;   // virtual name expected pressed afterwards, or ""
        const char* released;  // virtual name expected released afterwards, or ""
        int gamepadInUse;      // expected flag afterwards, -1 unchanged from before
    } rows[] = {
        {controllerEvent(SDL_CONTROLLERBUTTONDOWN, SDL_CONTROLLER_BUTTON_A), true, "jump", "", 1},
        {controllerEvent(SDL_CONTROLLERBUTTONUP, SDL_CONTROLLER_BUTTON_A), true, "", "jump", 1},
        {mouseEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE), true, "attack", "", 1},
        {mouseEvent(SDL_MOUSEBUTTONUP, SDL_BUTTON_MIDDLE), true, "", "attack", 1},
        {keyEvent(SDL_KEYDOWN, SDL_SCANCODE_SPACE, 1), true, "", "", 1}, // platform repeat
        {keyEvent(SDL_KEYDOWN, SDL_SCANCODE_SPACE), true, "jump", "", 0},
        {controllerEvent(SDL_CONTROLLERBUTTONDOWN, SDL_CONTROLLER_BUTTON_MISC1), true, "", "", 0},
        {keyEvent(SDL_KEYUP, SDL_SCANCODE_SPACE), true, "", "jump", 0},
        {keyEvent(SDL_KEYDOWN, SDL_SCANCODE_EQUALS), true, "menu_any", "", 0},
        {controllerEvent(SDL_CONTROLLERBUTTONDOWN, SDL_CONTROLLER_BUTTON_B), true, "", "", 1}, // unbound, still in use
        {keyEvent(SDL_KEYDOWN, SDL_SCANCODE_NONUSBACKSLASH), true, "", "", 1}, // no key: nothing recorded
        {mouseEvent(SDL_MOUSEBUTTONDOWN, 7), true, "", "", 1},
    };
    setGamepadInUse(false);
    int index = 0;
    for (Row& row : rows) {
        EXPECT_EQ(handleInputEvent(row.event, input), row.input) << index;
        for (const char* name : {"jump", "attack", "menu_any"}) {
            EXPECT_EQ(input.wasPressed(name), std::string(row.pressed) == name) << index << " " << name;
            EXPECT_EQ(input.wasReleased(name), std::string(row.released) == name) << index << " " << name;
        }
        EXPECT_EQ(isGamepadInUse(), row.gamepadInUse == 1) << index;
        input.update(1.0f / 60.0f);
        ++index;
    }
    SDL_Event other{};
    other.type = SDL_WINDOWEVENT;
    EXPECT_FALSE(handleInputEvent(other, input));
}

// A real SDL game-controller path: virtual joysticks stand in for devices.
class VirtualController : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
        folders.gameData.write("Config/default_controls.cfg",
                               "jump = Gamepad.A\nmove_left = Gamepad.LeftStickLeft\n"
                               "menu_down = Gamepad.DpadDown\nmenu_right = Gamepad.DpadRight\n");
        folders.gameData.write("Config/default_gamepads.cfg", "");
        connections.push_back(events.gamepadConnected.connect(this, [](VirtualController* t) { ++t->connected; }));
        connections.push_back(
            events.gamepadDisconnected.connect(this, [](VirtualController* t) { ++t->disconnected; }));
    }

    void TearDown() override {
        for (int index = SDL_NumJoysticks() - 1; index >= 0; --index) {
            if (SDL_JoystickIsVirtual(index)) SDL_JoystickDetachVirtual(index);
        }
        pumpEvents();
        EXPECT_FALSE(isGameControllerOpen());
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    }

    // The event pump's part: every pending event through the rules.
    void pumpEvents() {
        SDL_Event event;
        while (SDL_PollEvent(&event)) handleInputEvent(event, input);
    }

    // A controller SDL maps by itself: buttons 0 to 14 and axes 0 to 5 in SDL's order.
    SDL_Joystick* attachController() {
        return open(SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 6, 15, 0));
    }

    // A device SDL knows nothing about: only a mapping line makes it a controller.
    SDL_Joystick* attachCaveStick() {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_UNKNOWN;
        desc.naxes = 2;
        desc.nbuttons = 4;
        desc.nhats = 1;
        desc.vendor_id = 0x1209;
        desc.product_id = 0x7a0f;
        desc.name = "Cave Stick";
        return open(SDL_JoystickAttachVirtualEx(&desc));
    }

    SDL_Joystick* open(int index) {
        EXPECT_GE(index, 0) << SDL_GetError();
        SDL_Joystick* joystick = SDL_JoystickOpen(index);
        EXPECT_NE(joystick, nullptr) << SDL_GetError();
        return joystick;
    }

    test::InputTestFolders folders;
    SystemEvents events;
    std::vector<EventConnection> connections;
    InputState input;
    int connected = 0;
    int disconnected = 0;
};

TEST_F(VirtualController, ButtonAndStickReachVirtualButtons) {
    setupInputBindings(input);
    SDL_Joystick* pad = attachController();
    pumpEvents();
    ASSERT_TRUE(isGameControllerOpen());
    EXPECT_EQ(connected, 1);
    EXPECT_TRUE(isGamepadInUse());
    EXPECT_EQ(controllerBinds().size(), 21u);

    // Step 1: button A and the stick go down; the event records the press, the poll holds.
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, 1);
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, -20000);
    setGamepadInUse(false);
    SDL_JoystickUpdate();
    pumpEvents();
    EXPECT_TRUE(isGamepadInUse()) << "a controller button press";
    pollInput(input);
    EXPECT_TRUE(input.wasPressed("jump"));
    EXPECT_TRUE(input.isHeld("jump"));
    EXPECT_TRUE(input.wasPressed("move_left"));
    EXPECT_FLOAT_EQ(input.gamepadUsed(), 1.0f);
    input.update(1.0f / 60.0f);

    // Step 2: still held, no new press.
    pumpEvents();
    pollInput(input);
    EXPECT_TRUE(input.isHeld("jump"));
    EXPECT_FALSE(input.wasPressed("jump"));
    EXPECT_TRUE(input.isHeld("move_left"));
    input.update(1.0f / 60.0f);

    // Step 3: both come back.
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, 0);
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, -10000);
    SDL_JoystickUpdate();
    pumpEvents();
    pollInput(input);
    EXPECT_TRUE(input.wasReleased("jump"));
    EXPECT_FALSE(input.isHeld("jump"));
    EXPECT_TRUE(input.wasReleased("move_left"));
    EXPECT_FALSE(input.isHeld("move_left"));
    SDL_JoystickClose(pad);
}

TEST_F(VirtualController, SecondControllerWaitsUntilTheFirstIsUnplugged) {
    setupInputBindings(input);
    SDL_Joystick* first = attachController();
    SDL_Joystick* second = attachController();
    pumpEvents();
    EXPECT_EQ(connected, 1);

    SDL_JoystickSetVirtualButton(second, SDL_CONTROLLER_BUTTON_A, 1);
    SDL_JoystickUpdate();
    pumpEvents();
    pollInput(input);
    EXPECT_FALSE(input.isHeld("jump")) << "the second controller is ignored";

    SDL_JoystickClose(first);
    SDL_JoystickDetachVirtual(0);
    pumpEvents();
    EXPECT_EQ(disconnected, 1);
    EXPECT_EQ(connected, 2);
    ASSERT_TRUE(isGameControllerOpen());
    pollInput(input);
    EXPECT_TRUE(input.isHeld("jump")) << "the second controller took over";
    SDL_JoystickClose(second);
}

TEST_F(VirtualController, UnknownDeviceIsUsedThroughTheGamepadsFile) {
    setupInputBindings(input);
    SDL_Joystick* stick = attachCaveStick();
    ASSERT_FALSE(SDL_IsGameController(0)) << "SDL maps this device itself; the test needs another";
    pumpEvents();
    EXPECT_FALSE(isGameControllerOpen()) << "no mapping line yet";

    char guid[33] = {};
    SDL_JoystickGetGUIDString(SDL_JoystickGetGUID(stick), guid, sizeof guid);
    SDL_JoystickClose(stick);
    SDL_JoystickDetachVirtual(0);
    pumpEvents();

    // The player adds a line for it; the next start reads it.
    folders.user.write("gamepads.cfg", std::string("# mine\n") + guid +
                                           ",Cave Stick,a:b3,b:b0,dpup:h0.1,dpright:h0.2,dpdown:h0.4,dpleft:h0.8,"
                                           "leftx:a0,lefty:a1,\n");
    loadGamepadMappings();
    stick = attachCaveStick();
    pumpEvents();
    ASSERT_TRUE(isGameControllerOpen());

    SDL_JoystickSetVirtualButton(stick, 3, 1);
    SDL_JoystickSetVirtualHat(stick, 0, SDL_HAT_DOWN);
    SDL_JoystickUpdate();
    pumpEvents();
    pollInput(input);
    EXPECT_TRUE(input.isHeld("jump")) << "joystick button 3 is the controller's A by the file's mapping";
    EXPECT_TRUE(input.isHeld("menu_down"));
    input.update(1.0f / 60.0f);

    // A diagonal on the hat is neither of its directions.
    SDL_JoystickSetVirtualHat(stick, 0, SDL_HAT_RIGHTDOWN);
    SDL_JoystickUpdate();
    pumpEvents();
    pollInput(input);
    EXPECT_FALSE(input.isHeld("menu_down"));
    EXPECT_FALSE(input.isHeld("menu_right"));
    SDL_JoystickClose(stick);
}

TEST(KeyDisplayNames, ComeFromTheKeyboardLayout) {
    test::ScopedEnv video("SDL_VIDEODRIVER", "dummy");
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    InputState input;
    buildKeyDisplayNames(input);
    std::string text;
    EXPECT_TRUE(input.getKeyDisplayName("Key.Space", text));
    EXPECT_EQ(text, "Space");
    EXPECT_TRUE(input.getKeyDisplayName("Key.A", text));
    EXPECT_EQ(text, "A");
    EXPECT_FALSE(input.getKeyDisplayName("Mouse.Left", text));
    EXPECT_FALSE(input.getKeyDisplayName("Gamepad.A", text));
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

} // namespace
} // namespace zor
