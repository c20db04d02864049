#pragma once
// The debug commands and flags of the menus.

namespace zor {

// Declares the one-shot commands of category "state" ("menu", "restart", "levels", with
// "menu"/"restart" as the older name of "state"/"menu") and the toggles
// "system"/"menuLayout" and "system"/"menuOverlay".
void registerMenuDebugCommands();

} // namespace zor
