#pragma once
// The object physics step with the actor senses that follow it, and the camera step. The
// defaults leave objects where the spawners and the level flow placed them and the camera
// where the level flow centred it.
//
// Plugged in by the object physics, senses and camera. Main thread, inside the Game's
// step.

namespace zor {

class ActorObject;
class GameObject;
class GameObjectSimulator;
struct ObjectStepContext;

class ObjectPhysicsSteps {
public:
    virtual ~ObjectPhysicsSteps() = default;

    // An awake object whose definition has UpdatePhysics, after its kind's step.
    virtual void stepObjectPhysics(GameObjectSimulator& objects, GameObject& object, ObjectStepContext& context);
    // An actor's checks right after its physics step.
    virtual void updateActorSenses(GameObjectSimulator& objects, ActorObject& actor, ObjectStepContext& context);
    // Once per update, after the queued cell damage.
    virtual void updateCamera(GameObjectSimulator& objects, float step);
};

} // namespace zor
