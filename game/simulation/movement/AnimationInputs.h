#pragma once
// The animation inputs of an actor's step and the player's activation of exits and
// townsfolk; the last steps of the actor update. Main thread, inside the Game's step.

#include <vector>

namespace zor {

class ActorObject;
class GameObjectSimulator;
class PhysicalObject;
struct ObjectStepContext;

// Walk, run, idle, attack and look inputs to the actor's animation machines, and the
// animation speed (its recovery after a freeze included). Nothing for an actor without
// animation machines.
void updateAnimationInputs(GameObjectSimulator& objects, ActorObject& actor, const ObjectStepContext& context);

// The player only, once the level has run 0.5 s and while no level change is pending:
// every 0.2 s the exit it overlaps (when it may use it) or the nearest visible townsperson
// becomes its target; the activate request (or an automatic exit) then uses the target,
// otherwise the "activate" indicator shows. `scratch` is emptied and reused.
void updateActivation(GameObjectSimulator& objects, ActorObject& actor, std::vector<PhysicalObject*>& scratch);

} // namespace zor
