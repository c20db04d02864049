#pragma once
// The program's store mirrors: SteamAchievements on the local achievements and
// SteamLeaderboards on the leaderboard definitions, both on the installed store service.
// Start-up makes them only when a store client is present; they live until the process
// exits.

namespace zor {

// Makes both mirrors and connects them to the program's stores; a second call does nothing.
void createStoreMirrors();

} // namespace zor
