#pragma once
// The player's 14 virtual buttons turned into its intent: the movement vector, the one aim
// direction, the latched jump, attack, activate and tool requests, and the choice of
// weapon and tool. Main thread.

#include "Framework/core/math/Vector.h"

namespace zor {

class ActorObject;
class InputState;
class World;

// The four direction buttons summed (right and down positive), each axis within [-1, 1].
fpVector2 directionButtonsAsVector(const InputState& input);
iVector2 directionButtonsAsCells(const InputState& input);

// Reads the buttons into the player's intent; false, with only the aim touched, while any
// busy flag is set or the player is knocked back. Without a direction the player aims
// where it faces.
bool readPlayerControls(World& world, ActorObject& player, const InputState& input);
// The end of a step's input: the activate request is spent and a look up requested by the
// animation step goes to the player's body.
void finishPlayerControls(ActorObject& player);

} // namespace zor
