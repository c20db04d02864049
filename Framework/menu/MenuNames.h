#pragma once
// The names menus share with their layouts and with the controls configuration.

namespace zor::menu {

// Frames an item jumps its node to.
inline constexpr const char* FrameIdle = "idle";
inline constexpr const char* FrameActive = "active";
inline constexpr const char* FrameToggled = "toggled";
inline constexpr const char* FrameDisabled = "disabled";
inline constexpr const char* FrameActiveIdle = "active_idle";

// Virtual buttons of the controls configuration.
inline constexpr const char* InputAny = "menu_any";
inline constexpr const char* InputAccept = "menu_accept";
inline constexpr const char* InputCancel = "menu_cancel";
inline constexpr const char* InputLeft = "menu_left";
inline constexpr const char* InputRight = "menu_right";
inline constexpr const char* InputUp = "menu_up";
inline constexpr const char* InputDown = "menu_down";
inline constexpr const char* InputSkip = "menu_skip";

// Sound cues of the pressable items.
inline constexpr const char* CueOk = "menu_ok";
inline constexpr const char* CueCancel = "menu_cancel";

} // namespace zor::menu
