#pragma once
// What a behaviour instruction answers the step loop, and the form of its handler.

#include <cstdint>

namespace zor {

class ActorObject;
struct BehaviorData;

enum class MachineInstruction : std::int32_t {
    // Waiting: the actor's stepping ends for this game step.
    Running = 0,
    // Done for now: the machine is stepped again at once, so that an input the instruction
    // posted is taken in the same game step.
    Finished = 1,
};

// A plain function; only instructions that run others, or that keep state in the record,
// change the record.
using InstructionHandler = MachineInstruction (*)(ActorObject& actor, BehaviorData& data);

} // namespace zor
