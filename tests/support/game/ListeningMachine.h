#pragma once
// A behaviour machine of one state that knows the given inputs and never moves, so that a
// test reads with BehaviorMachine::takeInput which inputs were posted to an actor.

#include "game/world/entity/BehaviorMachine.h"

#include <memory>
#include <string>
#include <vector>

namespace zor {
class ActorObject;
} // namespace zor

namespace zor::test {

// Each distinct list of inputs is compiled once per program.
std::shared_ptr<BehaviorMachine> listeningMachine(const std::vector<std::string>& inputs);

// Whether the input was posted and not yet taken; leaves it pending.
bool heard(const ActorObject& actor, const std::string& input);

} // namespace zor::test
