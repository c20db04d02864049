#include "game/ui/StandInState.h"

#include "Framework/graphics/screen/Screen.h"
#include "Framework/input/InputState.h"
#include "Framework/system/SystemComponents.h"

#include <utility>

namespace zor {

StandInState::StandInState(std::int32_t stateId, StateRequestFunction request, SystemComponents* components)
    : m_stateId(stateId), m_request(std::move(request)), m_components(components) {}

StandInState::~StandInState() = default;

PackedColor StandInState::colorOf(std::int32_t stateId) {
    static const PackedColor colors[] = {
        PackedColor::fromChannels(56, 40, 24, 255),  // earth brown
        PackedColor::fromChannels(24, 56, 40, 255),  // moss green
        PackedColor::fromChannels(56, 24, 48, 255),  // ore purple
        PackedColor::fromChannels(48, 48, 48, 255),  // stone grey
    };
    return colors[(stateId >= FirstState && stateId <= LastState ? stateId : FirstState) - FirstState];
}

std::int32_t StandInState::nextState(std::int32_t stateId) {
    return stateId >= FirstState && stateId < LastState ? stateId + 1 : FirstState;
}

bool StandInState::handleInput(InputState& input) {
    if (!input.wasPressed("menu_accept")) return false;
    m_request({RequestState, nextState(m_stateId)});
    return true;
}

void StandInState::render() {
    if (!m_components) return;
    PrimitiveBatch& batch = *m_components->primitiveBatch;
    batch.modelView = fpMatrix4::identity();
    batch.modelViewChanged = true;
    batch.addFilledRect(Screen::currentViewport().visibleArea, colorOf(m_stateId));
    batch.flush();
}

} // namespace zor
