#include "game/simulation/behavior/EnemySimulator.h"

#include "game/simulation/behavior/InstructionRegistrars.h"

#include "game/definitions/MachineTables.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/entity/BehaviorMachine.h"

#include "Framework/core/log/LogHandler.h"
#include "Framework/core/math/Randomizer.h"
#include "Framework/system/surface/UpdateRecord.h"

#include <stdexcept>

namespace zor {

namespace {

constexpr const char* LogSource = "Behavior";
// Keeps instructions that keep answering Finished from holding up the game step.
constexpr int MaxStepsPerTick = 9;
constexpr std::string_view HeartbeatInput = "heartbeat";

} // namespace

EnemySimulator::EnemySimulator(Simulator* simulator, World& world, UserInterface* userInterface)
    : m_simulator(simulator), m_world(world), m_userInterface(userInterface) {
    registerGeneralInstructions(*this);
    registerMovementInstructions(*this);
    registerCombatInstructions(*this);
    registerCreatureInstructions(*this);
    registerBarrelInstructions(*this);
    registerNpcInstructions(*this);
    registerBossInstructions(*this);
}

void EnemySimulator::registerInstruction(const std::string& name, InstructionHandler handler) {
    if (!handler) throw std::logic_error("The instruction '" + name + "' has no handler");
    if (!m_instructions.emplace(name, handler).second)
        throw std::logic_error("The instruction '" + name + "' is registered twice");
}

InstructionHandler EnemySimulator::findInstruction(std::string_view name) const {
    const auto found = findName(m_instructions, name);
    return found == m_instructions.end() ? nullptr : found->second;
}

bool EnemySimulator::firstWarning(std::string_view topic, std::string_view key) const {
    const WarningOrder::View view(topic, key);
    if (m_warnings.find(view) != m_warnings.end()) return false;
    m_warnings.emplace(std::string(topic), std::string(key));
    return true;
}

void EnemySimulator::giveMachine(ActorObject& actor) {
    const std::string& behavior = actor.definition().behavior;
    if (behavior.empty() || actor.behaviorMachine) return;
    const MachineTable& table = behaviorMachineTable();
    const auto found = table.find(behavior);
    if (found == table.end() || !found->second) {
        if (firstReport(m_reportedBehaviors, behavior))
            LogHandler::log(LogHandler::Warning, LogSource,
                            "The actor '" + actor.definition().name + "' names the behaviour '" + behavior +
                                "', which is no machine; actors of that behaviour have none");
        return;
    }
    actor.behaviorMachine = makeBehaviorMachine(found->second);
}

bool EnemySimulator::tickActor(ActorObject& actor, const UpdateRecord& record) {
    // Held for the whole tick: an instruction may give the actor another machine.
    const std::shared_ptr<BehaviorMachine> machine = actor.behaviorMachine;
    if (!machine || !(record.stepLength > 0.0f)) return false;
    beatHeart(actor, *machine, record.stepLength);

    bool keepActive = false;
    for (int step = 0; step < MaxStepsPerTick && actor.alive(); ++step) {
        BehaviorData data;
        data.firstStep = machine->update() || actor.behaviorRestart;
        actor.behaviorRestart = false;
        data.update = &record;
        data.physics = m_physics;
        data.world = &m_world;
        data.simulator = m_simulator;
        data.userInterface = m_userInterface;
        data.enemySimulator = this;
        data.bossFight = &m_bossFight;
        const MachineInstruction result = runInstruction(actor, *machine, data);
        keepActive = keepActive || data.keepActive;
        if (result != MachineInstruction::Finished) break;
    }
    return keepActive;
}

void EnemySimulator::beatHeart(ActorObject& actor, BehaviorMachine& machine, float stepLength) {
    const ActorDefinition& definition = actor.definition();
    if (!(definition.heartbeatTime > 0.0f)) return;
    actor.heartbeatCountdown -= stepLength;
    if (actor.heartbeatCountdown > 0.0f) return;
    // The remainder below 0 carries over, so the beats do not drift.
    const float spread = definition.heartbeatRandomTime;
    actor.heartbeatCountdown += definition.heartbeatTime + m_world.random().nextFloatRange(-spread, spread);
    machine.postEvent(HeartbeatInput);
}

MachineInstruction EnemySimulator::runInstruction(ActorObject& actor, const BehaviorMachine& machine,
                                                  BehaviorData& data) {
    const MachineStateDefinition* state = machine.data();
    const std::string& instruction = state ? state->stateText : machine.name();
    if (state) data.properties = &state->properties;
    const InstructionHandler handler = findInstruction(instruction);
    if (handler) return handler(actor, data);
    if (firstReport(m_reportedInstructions, instruction))
        LogHandler::log(LogHandler::Warning, LogSource,
                        "The machine '" + machine.record().name + "' in its state '" + machine.name() +
                            "' runs the instruction '" + instruction + "', which does not exist; the state waits");
    return MachineInstruction::Running;
}

bool EnemySimulator::firstReport(ReportedNames& reported, std::string_view name) {
    // Looked up before anything is built, so a name reported before costs no allocation.
    if (reported.find(name) != reported.end()) return false;
    reported.emplace(name);
    return true;
}

} // namespace zor
