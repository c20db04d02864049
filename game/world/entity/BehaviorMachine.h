#pragma once
// A running machine made from a compiled machine definition (StateCreationData): it holds
// one actor's current state and pending inputs. An actor gets machines of its own for its
// behaviour and for each animated part; only the compiled records are shared.
//
// Inputs are flags, one bit each in a 32-bit mask (a machine with more than 32 input
// names shares bits between them); posting never moves the machine, update does.
// This body runs the states of the top machine; a state that runs a sub-machine counts as
// one state here.

#include "game/definitions/StateCreationData.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

namespace zor {

class BehaviorMachine {
public:
    // Enters the initial state.
    explicit BehaviorMachine(std::shared_ptr<const StateCreationData> data);

    // Marks the input as pending; true when a transition of the machine names it (other
    // inputs are ignored).
    bool postEvent(const std::string& input);
    // Takes the transitions of the current state, in order, whose inputs are pending,
    // stealing the inputs that ask for it; true when a transition was taken (one back into
    // the current state counts). A transition without a destination only consumes its
    // input.
    bool update();
    // The current state's name.
    const std::string& name() const;

private:
    bool isPending(std::uint32_t bit) const { return (m_pending & bit) != 0; }
    std::uint32_t inputBit(const std::string& input) const;
    const StateCreationData* findState(const std::string& name) const;

    std::shared_ptr<const StateCreationData> m_data;
    std::unordered_map<std::string, std::uint32_t> m_inputIndex;
    std::uint32_t m_pending = 0;
    // Null when the initial state names no state of the machine: it then never moves.
    const StateCreationData* m_current = nullptr;
};

std::shared_ptr<BehaviorMachine> makeBehaviorMachine(std::shared_ptr<const StateCreationData> data);

} // namespace zor
