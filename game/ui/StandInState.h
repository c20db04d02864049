#pragma once
// The game state that stands in for the front-end states after the loading screen until
// they exist: it fills the screen with its state's colour, and "menu_accept" moves on to
// the next of them.

#include "Framework/core/math/Color.h"
#include "Framework/system/surface/StateRequest.h"
#include "Framework/system/surface/StateSurface.h"

namespace zor {

class SystemComponents;

class StandInState : public StateSurface {
public:
    // The states that stand-ins take the place of, cycled through in this order.
    static constexpr std::int32_t FirstState = StateMenus;
    static constexpr std::int32_t LastState = StateLevels;

    StandInState(std::int32_t stateId, StateRequestFunction request, SystemComponents* components);
    ~StandInState() override;

    bool handleInput(InputState& input) override;
    void render() override;

    // Each state number its own colour, so a change of state is plain to see.
    static PackedColor colorOf(std::int32_t stateId);
    static std::int32_t nextState(std::int32_t stateId);

private:
    std::int32_t m_stateId;
    StateRequestFunction m_request;
    SystemComponents* m_components;
};

} // namespace zor
