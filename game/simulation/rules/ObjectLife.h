#pragma once
// The game's own end of actors and life of resources (see ObjectLifeRules.h): death with
// its loot, effects, counters and the player's losses; resources drawn to the player and
// timing out; the beams objects carry (Beams.h). Main thread, inside the Game's step; killActor
// also on the worker while a level build settles a refused placement.

#include "game/simulation/seams/ObjectLifeRules.h"

namespace zor {

class ObjectLife final : public ObjectLifeRules {
public:
    // Once per actor: later calls return at once. A dying actor vanishes without loot,
    // effects or sounds; the dead player stays as an obstacle and starts the game over.
    void killActor(GameObjectSimulator& objects, ActorObject& actor) override;
    void updateResource(GameObjectSimulator& objects, ResourceObject& resource, float step) override;
    // A barrier whose DisableUpgrade the player owns is removed; beams are made, turned,
    // moved, measured against tiles and bodies, deal their damage and fade.
    void updateBeams(GameObjectSimulator& objects, GameObject& object, float step) override;
};

} // namespace zor
