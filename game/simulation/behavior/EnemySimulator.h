#pragma once
// Drives every actor that has a behaviour: gives it its own machine when it enters the
// game and, once per game step, beats its heart and steps its machine, running after each
// step the instruction that the machine's current leaf state names.
//
// It lives with the object simulation that owns it across level changes; the level's
// physics is handed to it when each level's physics is built. Main thread, and the worker
// while it builds a level (giveMachine); never both at once.

#include "game/definitions/NameMap.h"
#include "game/simulation/behavior/BehaviorData.h"
#include "game/simulation/behavior/BossFight.h"
#include "game/simulation/behavior/MachineInstruction.h"

#include <cstddef>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <utility>

namespace zor {

class ActorObject;
class BehaviorMachine;
class PhysicsSystem;
class Simulator;
class UserInterface;
class World;
struct UpdateRecord;

class EnemySimulator {
public:
    // Fills the instruction table from the seven registrars. The World must outlive it; the
    // simulator and the interface, which only instructions use, may be null where none of
    // the running instructions needs them.
    EnemySimulator(Simulator* simulator, World& world, UserInterface* userInterface);
    EnemySimulator(const EnemySimulator&) = delete;
    EnemySimulator& operator=(const EnemySimulator&) = delete;

    // The physics of the level being played, handed to the instructions; null between
    // levels.
    void setPhysics(PhysicsSystem* physics) { m_physics = physics; }

    // A fresh machine of the actor's Behavior, unless it names none or the actor has one.
    // A Behavior that names no compiled machine leaves the actor without one and is
    // reported once per name.
    void giveMachine(ActorObject& actor);
    // One game step of the actor: the heartbeat, then up to nine steps of its machine, each
    // followed by the instruction of the current leaf, while the instructions answer
    // Finished and the actor is alive. Nothing for an actor without machine or a step
    // length that is not above 0. True when an instruction asked for the actor to be
    // updated in the next game step wherever the camera is: the caller forces that update.
    // A leaf naming an instruction without handler waits (Running), reported once per
    // instruction name. Allocates nothing once every name was reported.
    bool tickActor(ActorObject& actor, const UpdateRecord& record);

    // Each name once (a second registration, or a null handler, throws std::logic_error).
    void registerInstruction(const std::string& name, InstructionHandler handler);
    // Null when no handler has the name.
    InstructionHandler findInstruction(std::string_view name) const;
    std::size_t instructionCount() const { return m_instructions.size(); }
    // True the first time the key is met under its topic: instructions keep no state of
    // their own to remember that a data warning was logged. Allocates only then.
    bool firstWarning(std::string_view topic, std::string_view key) const;
    // The boss fight of this game, which the boss instructions keep up.
    BossFight& bossFight() { return m_bossFight; }

private:
    void beatHeart(ActorObject& actor, BehaviorMachine& machine, float stepLength);
    MachineInstruction runInstruction(ActorObject& actor, const BehaviorMachine& machine, BehaviorData& data);
    using ReportedNames = std::set<std::string, std::less<>>;
    // True the first time a name is met.
    static bool firstReport(ReportedNames& reported, std::string_view name);

    Simulator* m_simulator;
    World& m_world;
    UserInterface* m_userInterface;
    PhysicsSystem* m_physics = nullptr;
    NameMap<InstructionHandler> m_instructions;
    ReportedNames m_reportedBehaviors;
    ReportedNames m_reportedInstructions;
    BossFight m_bossFight;
    using WarningKey = std::pair<std::string, std::string>;
    struct WarningOrder {
        using is_transparent = void;
        using View = std::pair<std::string_view, std::string_view>;
        static View view(const WarningKey& key) { return {key.first, key.second}; }
        static View view(const View& key) { return key; }
        template <class A, class B>
        bool operator()(const A& a, const B& b) const { return view(a) < view(b); }
    };
    mutable std::set<WarningKey, WarningOrder> m_warnings;
};

} // namespace zor
