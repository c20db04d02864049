#pragma once
// The player's controls and the movement step of every actor, which the object update
// calls. The defaults move nobody by themselves: the player stands where it is put, its
// input reaches nothing, and every other actor only runs its behaviour machine.
//
// Plugged in by the player controller and actor movement (handlePlayerInput,
// finishPlayerInput, updateActor) and by the tools and buildings (updatePlayer).
// Main thread, inside the Game's step.

namespace zor {

class ActorObject;
class GameObjectSimulator;
class InputState;
struct ObjectStepContext;

class ActorSteps {
public:
    virtual ~ActorSteps() = default;

    // The player step, once per update before the tile regeneration: tool choice and use,
    // the push-back and the message cooldown. Called also while there is no player.
    virtual void updatePlayer(GameObjectSimulator& objects, float step);
    // Input the Game passes on when nothing before took it; true when consumed.
    virtual bool handlePlayerInput(GameObjectSimulator& objects, InputState& input);
    // Ends the player's input of a step; not in steps with a game over or a pending level
    // change.
    virtual void finishPlayerInput(GameObjectSimulator& objects);
    // One step of a live actor near the view (or forced). A non-player actor runs its
    // behaviour machine; when an instruction asks for it, the actor is updated in the next
    // step wherever the camera is (GameObjectSimulator::forceUpdate). The context's limits
    // hold for the physics step that follows.
    virtual void updateActor(GameObjectSimulator& objects, ActorObject& actor, ObjectStepContext& context);
};

} // namespace zor
