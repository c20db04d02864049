#pragma once
// Making, removing and measuring the beams a game object carries; ObjectLife::updateBeams
// runs them every step. Main thread, inside the Game's step.

#include "Framework/core/math/Rect.h"

namespace zor {

class Beam;
class GameObject;
class GameObjectSimulator;
struct BeamDefinition;

// The beam starts along the carrier's facing turned by `angleOffset` (radians); it is
// measured and placed by its first update.
Beam& createBeam(GameObjectSimulator& objects, GameObject& carrier, const BeamDefinition& definition,
                 float angleOffset);
// Queues the carrier's live beams for removal and forgets their ids.
void removeBeams(GameObjectSimulator& objects, GameObject& carrier);
// Bounds of the box from the beam's start along its direction for its length, DamageWidth
// wide, relative to the start.
fpRect beamBoxBounds(const Beam& beam);

} // namespace zor
