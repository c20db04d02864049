#include "game/world/entity/BehaviorMachine.h"

#include <utility>

namespace zor {

namespace {

// Transitions on inputs that are never stolen can cycle for as long as the input stays.
constexpr int MaxTransitionsPerUpdate = 64;

} // namespace

BehaviorMachine::BehaviorMachine(std::shared_ptr<const StateCreationData> data) : m_data(std::move(data)) {
    for (const auto& state : m_data->children)
        for (const StateCreationData::Transition& transition : state->transitions)
            m_inputIndex.emplace(transition.input, std::uint32_t(m_inputIndex.size()));
    m_current = findState(m_data->initialState);
}

bool BehaviorMachine::postEvent(const std::string& input) {
    const std::uint32_t bit = inputBit(input);
    m_pending |= bit;
    return bit != 0;
}

bool BehaviorMachine::update() {
    bool moved = false;
    for (int taken = 0; m_current && m_pending != 0 && taken < MaxTransitionsPerUpdate; ++taken) {
        const StateCreationData* next = nullptr;
        for (const StateCreationData::Transition& transition : m_current->transitions) {
            const std::uint32_t bit = inputBit(transition.input);
            if (!isPending(bit)) continue;
            if (transition.definition.stealInput) m_pending &= ~bit;
            if (transition.definition.destination.empty()) continue;
            next = findState(transition.definition.destination);
            if (next) break;
        }
        if (!next) break;
        moved = true;
        m_current = next;
    }
    return moved;
}

const std::string& BehaviorMachine::name() const { return m_current ? m_current->name : m_data->initialState; }

std::uint32_t BehaviorMachine::inputBit(const std::string& input) const {
    const auto found = m_inputIndex.find(input);
    return found == m_inputIndex.end() ? 0 : std::uint32_t(1) << (found->second % 32);
}

const StateCreationData* BehaviorMachine::findState(const std::string& name) const {
    // A later state of the same name replaces an earlier one.
    const StateCreationData* found = nullptr;
    for (const auto& state : m_data->children)
        if (state->name == name) found = state.get();
    return found;
}

std::shared_ptr<BehaviorMachine> makeBehaviorMachine(std::shared_ptr<const StateCreationData> data) {
    return std::make_shared<BehaviorMachine>(std::move(data));
}

} // namespace zor
