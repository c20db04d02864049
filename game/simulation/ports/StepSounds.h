#pragma once
// What a step asked to be played: the World's sound requests and the game objects' pending
// sounds. Every sound port takes them each step, so that neither list grows while nothing
// plays them.

#include "game/world/World.h"

#include <string>
#include <vector>

namespace zor {

struct StepSounds {
    std::vector<SoundRequest> requests;
    std::vector<std::string> objectSounds;  // the objects in the order of their ids
};

// Moves the step's sounds out of the World and its objects, leaving both lists empty.
StepSounds takeStepSounds(World& world);

} // namespace zor
