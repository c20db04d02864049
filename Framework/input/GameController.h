#pragma once
// The one game controller the game reads. It is opened when a joystick arrives (with a
// mapping from the gamepads file when SDL does not know the device) and closed when it
// is detached, after which the lowest-numbered device that opens takes its place.
// Main thread only.

#include <cstdint>
#include <vector>

namespace zor {

class InputState;

// How one controller button or axis is wired to the joystick, as SDL reports it.
struct ControllerBind {
    enum BindType : std::int32_t { None = 0, Button = 1, Axis = 2, Hat = 3 };
    static constexpr std::int32_t NoButton = 15; // marks an axis record
    static constexpr std::int32_t NoAxis = 6;    // marks a button record

    std::int32_t bindType = None;
    std::int32_t bindValue = 0; // joystick button, axis or hat index
    std::int32_t hatMask = 0;
    std::int32_t controllerButton = NoButton;
    std::int32_t controllerAxis = NoAxis;

    bool isAxis() const { return controllerButton == NoButton; }
};

// False when a controller is already open, or the device is neither known to SDL nor
// mapped by the gamepads file, or it cannot be opened.
bool openGameController(int deviceIndex);
// Closes the open controller when SDL reports it detached, then opens the first
// remaining device that can be.
void closeDetachedGameController();
bool isGameControllerOpen();
const std::vector<ControllerBind>& controllerBinds();

// Reads every bound button and axis of the open controller into the input state.
void pollGameController(InputState& input);

// True after controller input, false after keyboard input; mouse input leaves it.
bool isGamepadInUse();
void setGamepadInUse(bool inUse);

} // namespace zor
