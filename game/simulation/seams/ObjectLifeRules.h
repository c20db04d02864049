#pragma once
// The end of an actor, the life of resources and the beams objects carry.
//
// killActor belongs to the level flow until actor death and loot replace it: a non-player
// actor is removed at once, and the player's death is recorded (hit points 0), so that the
// next level change takes the death branch; the game-over screen is not opened (tests open
// it themselves). updateResource and updateBeams do nothing until resources and beams
// plug in. Main thread, inside the Game's step (killActor also while a level build settles
// a rejected placement, on the worker).

namespace zor {

class ActorObject;
class GameObject;
class GameObjectSimulator;
class ResourceObject;

class ObjectLifeRules {
public:
    virtual ~ObjectLifeRules() = default;

    // An actor that died, left the level or was refused at its placement (its dying flag
    // then raised).
    virtual void killActor(GameObjectSimulator& objects, ActorObject& actor);
    virtual void updateResource(GameObjectSimulator& objects, ResourceObject& resource, float step);
    // An object with beams, a beam list in its definition, or a barrier actor.
    virtual void updateBeams(GameObjectSimulator& objects, GameObject& object, float step);
};

} // namespace zor
