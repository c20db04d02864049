#pragma once
// A key of ours for walking the levels until exits can be used: each press requests the
// next level linked to the current one (a level's links taken in turn, items not asked
// for), entered at "[start]".

#include <cstdint>

namespace zor {

class InputState;
class Simulator;

class LinkedLevelKey {
public:
    // The virtual button (bound in the default controls).
    static constexpr const char* Button = "debug_next_level";

    // True when the button was pressed and a level change requested. Nothing while a
    // change is pending or for a level without links.
    bool handle(InputState& input, Simulator& simulator);

private:
    std::uint32_t m_turn = 0;
};

} // namespace zor
