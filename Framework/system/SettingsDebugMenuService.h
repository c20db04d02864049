#pragma once
// The settings debug menu's life: the one-shot debug flag "system"/"settings" opens it,
// it takes input before the game state while open, and it is deleted in the step after
// the user closed it. Its page is remembered between openings.

namespace zor {

class SystemComponents;
struct UpdateRecord;

// Once per update step: deletes a menu the user closed, opens one on the flag, and
// updates the open one.
void pollSettingsDebugMenu(const UpdateRecord& record, SystemComponents& components);

// Deletes an open menu, remembering its page, and drops a pending close request.
void closeSettingsDebugMenu();

} // namespace zor
