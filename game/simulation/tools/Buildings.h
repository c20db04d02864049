#pragma once
// Where and whether the player's buildings go, and the thrown dynamite. Each call checks
// its own requirements, places on success and reports refusals by their floating message
// where one exists; the caller spends or cues the failure.

#include <string>

namespace zor {

class ActorObject;
class GameObjectSimulator;

// The building named by a tool's counted item ("lamp", "ladder", "jump_plate",
// "teleporter"); false for a refusal or any other name.
bool placeBuilding(GameObjectSimulator& objects, ActorObject& player, const std::string& building);
// False only when the projectile could not be made.
bool throwDynamite(GameObjectSimulator& objects, ActorObject& player);

} // namespace zor
