#include "game/ui/ErrorMenu.h"

namespace zor {

ErrorMenu::ErrorMenu() = default;

ErrorMenu::~ErrorMenu() = default;

bool ErrorMenu::handleInput(InputState&) { return false; }

} // namespace zor
