#include "game/ui/ErrorMenu.h"

#include <utility>

#include "Framework/core/localization/LocalizationHandler.h"
#include "Framework/graphics/batch/QuadBatch.h"
#include "Framework/graphics/font/Font.h"
#include "Framework/graphics/screen/Screen.h"
#include "Framework/input/InputState.h"
#include "Framework/menu/MenuNames.h"
#include "Framework/system/ApplicationState.h"
#include "Framework/system/SystemComponents.h"

namespace zor {
namespace {

constexpr float Margin = 20.0f;
constexpr float PromptHeight = 40.0f;
const PackedColor ErrorColour = PackedColor::fromChannels(255, 96, 96, 255);
const PackedColor PromptColour = PackedColor::fromChannels(220, 220, 220, 255);

iRect screenArea() {
    const Screen::Viewport& first = Screen::viewports().front();
    return {0, 0, static_cast<std::int32_t>(first.virtualWidth), static_cast<std::int32_t>(first.virtualHeight)};
}

std::string promptText() {
    const char* id = "error_prompts";
    return LocalizationHandler::exists() ? LocalizationHandler::instance().getLine(id) : id;
}

} // namespace

ErrorMenu::ErrorMenu(StateRequestFunction request, SystemComponents& components)
    : StateSurface(screenArea()), m_request(std::move(request)), m_components(components) {
    const Font* font = components.debugFont;
    if (!font) return;
    const float width = static_cast<float>(m_area.w) - 2.0f * Margin;
    const float bottom = static_cast<float>(m_area.h) - Margin;
    const fpRect textBox(Margin, Margin, width, bottom - PromptHeight - Margin);
    m_errorText = Font::buildWrappedText(nullptr, *font, appState().lastErrorLine, textBox, CompassAnchor::NorthWest,
                                         AlignEachLine);
    const fpRect promptBox(Margin, bottom - PromptHeight, width, PromptHeight);
    m_prompts = Font::buildWrappedText(nullptr, *font, promptText(), promptBox, CompassAnchor::South, AlignEachLine);
}

ErrorMenu::~ErrorMenu() { m_request = nullptr; }

bool ErrorMenu::handleInput(InputState& input) {
    if (input.wasPressed(menu::InputAccept)) {
        m_request({RequestState, StateMenus});
        return true;
    }
    if (input.wasPressed(menu::InputCancel)) {
        m_request({RequestQuit, 0});
        return true;
    }
    return false;
}

void ErrorMenu::render() {
    if (!m_errorText || !m_components.quadBatch) return;
    QuadBatch& batch = *m_components.quadBatch;
    batch.begin();
    const fpMatrix4 identity = fpMatrix4::identity();
    m_errorText->draw(batch, ErrorColour, identity);
    if (m_prompts) m_prompts->draw(batch, PromptColour, identity);
    batch.flush(0);
}

} // namespace zor
