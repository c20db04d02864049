#pragma once
// The game's own actor step and player controls: every actor near the view keeps its
// vital values and countdowns running, hands its behaviour to its machine (all but the
// player), finds out what it stands on, walks, climbs, swims and jumps, animates, faces
// where it walks and, for the player, activates exits and townsfolk. The same rules move the player and the other actors; they differ only in
// who fills the intent fields.
//
// Main thread, inside the Game's step; the ground and activation probes share this
// object's scratch list and must not be nested.

#include "game/simulation/seams/ActorSteps.h"

#include <cstdint>
#include <vector>

namespace zor {

class PhysicalObject;

class ActorMovement : public ActorSteps {
public:
    ActorMovement();

    // A dead or dying actor is killed; otherwise its vital values and lamp, countdowns,
    // behaviour (all but the player), ground, ladder (the player), running, wall slide,
    // attack, pending spawn, walking, landing, jump count, pool, friction, jumps, animation
    // and activation (the player), constant sound and facing, in this order. Acid burns
    // belong to the damage rules.
    void updateActor(GameObjectSimulator& objects, ActorObject& actor, ObjectStepContext& context) override;
    // Tool choice and use, the need-water warning, the speed history, the push-back and
    // the message cooldown.
    void updatePlayer(GameObjectSimulator& objects, float step) override;
    bool handlePlayerInput(GameObjectSimulator& objects, InputState& input) override;
    void finishPlayerInput(GameObjectSimulator& objects) override;

    // What the actor stands on: 0 nothing, 1 solid ground (tiles, bounds, any object that
    // is not a platform), 2 only the top of a platform object. Pools never carry; ladders
    // do not while the actor holds one. 0 for an actor that does not check for ground.
    std::int32_t groundState(GameObjectSimulator& objects, const ActorObject& actor);

private:
    void updateGround(GameObjectSimulator& objects, ActorObject& actor);

    std::vector<PhysicalObject*> m_found;
};

} // namespace zor
