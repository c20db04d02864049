#pragma once
// The record handed to one instruction call: the parameters of the running state, the
// step and the game's services. The step loop builds it on the stack for every step.

#include "game/definitions/MachineDefinition.h"
#include "game/definitions/StateCreationData.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace zor {

class EnemySimulator;
struct BossFight;
class PhysicsSystem;
class Simulator;
class UserInterface;
class World;
struct UpdateRecord;

struct BehaviorData {
    // The "Property" children of the current leaf state, or an empty map for a leaf without
    // a definition record. Definition files store every value as text.
    const MachineProperties* properties = &emptyStateProperties();
    // Its step length (already scaled by the game's time scale) is the step time.
    const UpdateRecord* update = nullptr;
    // This step is the first one in the current state.
    bool firstStep = false;
    // The level's physics; null while no level runs.
    PhysicsSystem* physics = nullptr;
    World* world = nullptr;
    Simulator* simulator = nullptr;
    UserInterface* userInterface = nullptr;
    // The table the running instruction came from, for instructions that run others.
    const EnemySimulator* enemySimulator = nullptr;
    // The values the boss instructions share across the fight; null outside the step loop.
    BossFight* bossFight = nullptr;
    // Set by an instruction that needs its actor updated in the next game step wherever
    // the camera is.
    bool keepActive = false;

    float stepTime() const;

    // Each getter gives `fallback` for an absent parameter.
    // The value as a number read the C library's way: text that does not start with a
    // number reads 0.
    float getFloat(std::string_view name, float fallback) const;
    // Read as a stream reads it, trailing text allowed; text that holds no number reads 0.
    std::int32_t getInt(std::string_view name, std::int32_t fallback) const;
    // Read as a number: text must start with 0 or 1, anything else reads false.
    bool getBool(std::string_view name, bool fallback) const;
    std::string getString(std::string_view name, std::string_view fallback) const;
    // The text of a parameter without a copy, for reads in every step; a value that is not
    // held as text reads empty. Valid while the state's definition lives.
    std::string_view getText(std::string_view name, std::string_view fallback) const;
    bool has(std::string_view name) const;

private:
    // Null when absent.
    const OptionalSettingValue* find(std::string_view name) const;
};

} // namespace zor
