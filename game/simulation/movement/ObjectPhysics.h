#pragma once
// The game's own object physics step, the actor checks that follow it (running speed cap,
// ladder tops, leg and body animation states, and the senses behaviour machines feed on:
// "atEdge", "metEnemy", "metSomeone") and the camera step.
//
// Main thread, inside the Game's step; the probes use this object's scratch list, so the
// checks must not be nested.

#include "game/simulation/seams/ObjectPhysicsSteps.h"

#include <vector>

namespace zor {

class PhysicalObject;

class ObjectPhysics : public ObjectPhysicsSteps {
public:
    ObjectPhysics();

    // Gravity along (0, 1) or the facing, one physics step with sweeps, fall distance,
    // whole pixels after two resting steps, footstep noise, the context's speed limit, a
    // terminal speed of 1000 px/s along gravity and the forced updates of awake objects.
    void stepObjectPhysics(GameObjectSimulator& objects, GameObject& object, ObjectStepContext& context) override;
    // Ends by clearing the actor's jump request and walk intent.
    void updateActorSenses(GameObjectSimulator& objects, ActorObject& actor, ObjectStepContext& context) override;
    void updateCamera(GameObjectSimulator& objects, float step) override;

private:
    void capRunningSpeed(GameObjectSimulator& objects, ActorObject& actor, float step);
    void holdOnLadderTop(GameObjectSimulator& objects, ActorObject& actor);
    void feelEdge(GameObjectSimulator& objects, ActorObject& actor);
    void feelNeighbours(GameObjectSimulator& objects, ActorObject& actor);

    std::vector<PhysicalObject*> m_found;
};

} // namespace zor
