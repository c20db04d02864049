#pragma once
// Hierarchical state machines made from compiled machine definitions (StateCreationData).
// A machine is a tree: each state is a plain state or a nested machine with states of its
// own. An actor gets machine objects of its own for its behaviour and for each animated
// part; only the compiled records are shared, and they must outlive the machines.
//
// Inputs are flags: posting one sets its bit in a 32-bit mask (a tree with more than 32
// input names shares bits between them: the 33rd name has the bit of the first), and only
// update moves a machine. Posting, updating and looking at a machine allocate nothing.
//
// No lock: machines are made on the worker while it builds a level and used on the main
// thread, never both at once.

#include "game/definitions/NameMap.h"
#include "game/definitions/StateCreationData.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zor {

class BehaviorMachine;

// A plain state: it only names something (an instruction, an animation) through its name
// and definition record.
class BehaviorMachineState {
public:
    explicit BehaviorMachineState(std::shared_ptr<const StateCreationData> record);
    virtual ~BehaviorMachineState() = default;
    BehaviorMachineState(const BehaviorMachineState&) = delete;
    BehaviorMachineState& operator=(const BehaviorMachineState&) = delete;

    // Runs after the state's enter callback each time the state is entered.
    virtual void enter() {}
    // True when a transition was taken somewhere below this state during the call.
    virtual bool update() { return false; }
    // True when the tree knows the input; a plain state knows none.
    virtual bool postEvent(std::string_view) { return false; }
    // The name of the current leaf: the state's own name for a plain state.
    virtual const std::string& name() const { return m_record->name; }
    // The definition record of the current leaf; null for a leaf made without one.
    virtual const MachineStateDefinition* data() const { return m_record->definition; }

    const StateCreationData& record() const { return *m_record; }

private:
    std::shared_ptr<const StateCreationData> m_record;
};

class BehaviorMachine final : public BehaviorMachineState {
public:
    // Builds the machine and its nested machines and enters the initial state (calling its
    // enter callback with no previous state), so a nested machine is in its initial state
    // before its parent first enters it. A parent, when given, must outlive the machine; a
    // machine without one is the top of its tree. A record whose initial state or non-empty
    // destination names none of its states throws CheckReleaseError (the compiled tables
    // never hold one).
    explicit BehaviorMachine(std::shared_ptr<const StateCreationData> record, BehaviorMachine* parent = nullptr);

    // With resetOnEnter, back to the initial state; otherwise the machine resumes where it
    // was left.
    void enter() override;
    // Takes pending inputs: the current nested machine first, then this machine's
    // transitions in order, again and again while inputs stay pending. A transition tests
    // (and when it steals, clears) its input in the enclosing machines' masks before this
    // one's; one without destination only consumes its input. True when a transition was
    // taken anywhere in the tree. After 64 transitions of this machine in one call it
    // returns true and leaves the rest pending, so inputs that are never stolen cannot
    // keep it going for ever.
    bool update() override;
    // Sets the input's bit in this machine's mask; an input no transition of the tree names
    // is ignored (false).
    bool postEvent(std::string_view input) override;
    const std::string& name() const override;
    const MachineStateDefinition* data() const override;

    // Moves to one of this machine's own states: nothing when it is the current one or is
    // no state of the machine (false); else the old state's exit callback, the new one's
    // enter callback and its enter().
    bool changeState(std::string_view stateName);
    // This machine's mask or that of an enclosing machine is not zero.
    bool hasPendingInput() const;
    // Tests the input in the enclosing machines (outermost first) and then in this one; the
    // first mask that has it answers, and loses it when `steal` is set.
    bool takeInput(std::string_view input, bool steal);
    void clearInputs() { m_inputMask = 0; }
    std::uint32_t inputMask() const { return m_inputMask; }

    // This machine's own current state (a plain state or a nested machine).
    BehaviorMachineState& currentState() { return *m_current->state; }
    const BehaviorMachineState& currentState() const { return *m_current->state; }
    const std::string& currentStateName() const { return m_current->state->record().name; }
    BehaviorMachine* parent() const { return m_parent; }

private:
    struct Slot;
    // One transition resolved for this machine: its input's bit and its destination.
    struct Route {
        std::uint32_t bit;
        Slot* destination;  // null: consumes its input without moving
        bool steal;
    };
    struct Slot {
        std::unique_ptr<BehaviorMachineState> state;
        std::vector<Route> routes;
    };
    using InputTable = NameMap<std::uint32_t>;

    void addInputs(const StateCreationData& state);
    void resolveRoutes();
    Slot& requireSlot(const std::string& stateName);
    std::uint32_t inputBit(std::string_view input) const;
    bool takeBit(std::uint32_t bit, bool steal);
    void moveTo(Slot& next);

    BehaviorMachine* m_parent;
    // Shared by every machine of the tree: input name to index, in order of first use.
    std::shared_ptr<InputTable> m_inputTable;
    std::uint32_t m_inputMask = 0;
    NameMap<Slot> m_states;
    Slot* m_current = nullptr;
};

// A top machine in its initial state.
std::shared_ptr<BehaviorMachine> makeBehaviorMachine(std::shared_ptr<const StateCreationData> record);

} // namespace zor
