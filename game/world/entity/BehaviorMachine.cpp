#include "game/world/entity/BehaviorMachine.h"

#include "Framework/core/Errors.h"

#include <utility>

namespace zor {

namespace {

// Transitions on inputs that are never stolen can cycle for as long as the input stays.
constexpr int MaxTransitionsPerUpdate = 64;
constexpr std::uint32_t MaskBits = 32;

} // namespace

BehaviorMachineState::BehaviorMachineState(std::shared_ptr<const StateCreationData> record)
    : m_record(std::move(record)) {}

BehaviorMachine::BehaviorMachine(std::shared_ptr<const StateCreationData> record, BehaviorMachine* parent)
    : BehaviorMachineState(std::move(record)),
      m_parent(parent),
      m_inputTable(parent ? parent->m_inputTable : std::make_shared<InputTable>()) {
    for (const std::shared_ptr<StateCreationData>& child : this->record().children) {
        std::unique_ptr<BehaviorMachineState> state;
        if (child->children.empty())
            state = std::make_unique<BehaviorMachineState>(child);
        else
            state = std::make_unique<BehaviorMachine>(child, this);
        // After the nested machine's own states, so that their inputs come first.
        addInputs(*child);
        m_states[child->name] = Slot{std::move(state), {}};
    }
    resolveRoutes();
    m_current = &requireSlot(this->record().initialState);
    BehaviorMachineState& first = *m_current->state;
    if (first.record().onEnter) first.record().onEnter(first, nullptr);
    first.enter();
}

void BehaviorMachine::addInputs(const StateCreationData& state) {
    for (const StateCreationData::Transition& transition : state.transitions)
        m_inputTable->emplace(transition.input, std::uint32_t(m_inputTable->size()));
}

void BehaviorMachine::resolveRoutes() {
    for (auto& [name, slot] : m_states) {
        const StateCreationData& state = slot.state->record();
        slot.routes.reserve(state.transitions.size());
        for (const StateCreationData::Transition& transition : state.transitions) {
            const std::string& destination = transition.definition.destination;
            Slot* next = destination.empty() ? nullptr : &requireSlot(destination);
            slot.routes.push_back(Route{inputBit(transition.input), next, transition.definition.stealInput});
        }
    }
}

BehaviorMachine::Slot& BehaviorMachine::requireSlot(const std::string& stateName) {
    const auto found = m_states.find(stateName);
    if (found == m_states.end())
        throw CheckReleaseError("Could not make the machine '" + record().name + "': '" + stateName +
                                "' names none of its states");
    return found->second;
}

std::uint32_t BehaviorMachine::inputBit(std::string_view input) const {
    const auto found = findName(*m_inputTable, input);
    return found == m_inputTable->end() ? 0 : std::uint32_t(1) << (found->second % MaskBits);
}

void BehaviorMachine::enter() {
    if (record().resetOnEnter) changeState(record().initialState);
}

bool BehaviorMachine::update() {
    if (!hasPendingInput()) return false;
    bool changed = false;
    for (int taken = 0; taken < MaxTransitionsPerUpdate; ++taken) {
        if (m_current->state->update()) return true;
        Slot* next = nullptr;
        for (const Route& route : m_current->routes) {
            // The input is tested (and stolen) before the destination is looked at.
            if (takeBit(route.bit, route.steal) && route.destination) {
                next = route.destination;
                break;
            }
        }
        if (!next) return changed;
        moveTo(*next);
        changed = true;
        if (!hasPendingInput()) return true;
    }
    return true;
}

bool BehaviorMachine::postEvent(std::string_view input) {
    const std::uint32_t bit = inputBit(input);
    m_inputMask |= bit;
    return bit != 0;
}

const std::string& BehaviorMachine::name() const { return m_current->state->name(); }

const MachineStateDefinition* BehaviorMachine::data() const { return m_current->state->data(); }

bool BehaviorMachine::changeState(std::string_view stateName) {
    const auto found = findName(m_states, stateName);
    if (found == m_states.end()) return false;
    moveTo(found->second);
    return true;
}

void BehaviorMachine::moveTo(Slot& next) {
    if (&next == m_current) return;
    BehaviorMachineState& old = *m_current->state;
    BehaviorMachineState& entered = *next.state;
    m_current = &next;
    if (old.record().onExit) old.record().onExit(old, &entered);
    if (entered.record().onEnter) entered.record().onEnter(entered, &old);
    entered.enter();
}

bool BehaviorMachine::hasPendingInput() const {
    return m_inputMask != 0 || (m_parent && m_parent->hasPendingInput());
}

bool BehaviorMachine::takeInput(std::string_view input, bool steal) {
    const std::uint32_t bit = inputBit(input);
    return bit != 0 && takeBit(bit, steal);
}

bool BehaviorMachine::takeBit(std::uint32_t bit, bool steal) {
    if (m_parent && m_parent->takeBit(bit, steal)) return true;
    if ((m_inputMask & bit) == 0) return false;
    if (steal) m_inputMask &= ~bit;
    return true;
}

std::shared_ptr<BehaviorMachine> makeBehaviorMachine(std::shared_ptr<const StateCreationData> record) {
    return std::make_shared<BehaviorMachine>(std::move(record));
}

} // namespace zor
