#pragma once
// The debug commands and flags of the menus.

namespace zor {

// Declares the one-shot commands "menu"/"restart" and "state"/"levels" and the toggles
// "system"/"menuLayout" and "system"/"menuOverlay".
void registerMenuDebugCommands();

} // namespace zor
