#pragma once
// A key of ours for walking the levels until exits can be used: each press requests the
// next level linked to the current one (each level's links taken in turn, items not asked
// for), entered at "[start]".

#include <cstdint>
#include <map>
#include <string>

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
    // Presses so far, by the level they were made in.
    std::map<std::string, std::uint32_t> m_turns;
};

} // namespace zor
