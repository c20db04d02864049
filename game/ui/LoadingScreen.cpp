#include "game/ui/LoadingScreen.h"

#include "Framework/core/localization/LocalizationHandler.h"
#include "Framework/core/localization/LocalizedFormat.h"
#include "Framework/core/log/LogHandler.h"
#include "Framework/graphics/font/Font.h"
#include "Framework/graphics/screen/Screen.h"
#include "Framework/graphics/sprite/ISpriteManager.h"
#include "Framework/input/InputState.h"
#include "Framework/system/ApplicationState.h"
#include "Framework/system/SystemComponents.h"
#include "Framework/system/Window.h"
#include "Framework/system/surface/UpdateRecord.h"
#include "game/definitions/LoadAllDefinitions.h"

#include <boost/format.hpp>

#include <chrono>
#include <utility>

namespace zor {

namespace {

constexpr const char* LogSource = "Loading";
// The layout is made for the main viewport's 640 x 360 units.
constexpr float Width = 640.0f;
constexpr float CentreX = Width / 2.0f;
constexpr float TitleY = 112.0f;
constexpr float TitleScale = 2.0f;
constexpr float SpinnerY = 236.0f;
constexpr float ButtonY = 262.0f;

const PackedColor Background = PackedColor::fromChannels(18, 22, 34, 255);
const PackedColor TitleColour = PackedColor::fromChannels(236, 196, 120, 255);
const PackedColor TextColour = PackedColor::fromChannels(232, 228, 214, 255);
const PackedColor DetailColour = PackedColor::fromChannels(150, 160, 176, 255);
const PackedColor PromptColour = PackedColor::fromChannels(40, 26, 10, 255);

TextMeshPtr centredLine(const Font& font, const std::string& text, float y, float height) {
    return Font::buildTextLine(font, text, fpRect(0.0f, y, Width, height), CompassAnchor::Centre);
}

const std::string& line(const char* id) { return LocalizationHandler::instance().getLine(id); }

} // namespace

const std::vector<std::string>& LoadingScreen::preloadedSpriteSets() {
    static const std::vector<std::string> sets = {"Sprites/ui", "Menus/loader"};
    return sets;
}

LoadingScreen::LoadingScreen(StateRequestFunction request, SystemComponents& components)
    : m_request(std::move(request)), m_components(components), m_font(components.fontSet->require("medium")) {
    ApplicationState& app = appState();
    app.backgroundLoading = true;
    ThreadedWorkQueue& queue = *app.threadedQueue;
    SpriteManagers* managers = components.spriteManagers.get();
    for (const std::string& folder : preloadedSpriteSets()) queue.post([managers, folder] { managers->get(folder); });

    using Clock = std::chrono::steady_clock;
    auto started = std::make_shared<Clock::time_point>();
    queue.post([started] { *started = Clock::now(); });
    queue.post(&loadAllDefinitions);
    queue.post([started, progress = m_progress] {
        progress->seconds = std::chrono::duration<double>(Clock::now() - *started).count();
        progress->done.store(true, std::memory_order_release);
        appState().backgroundLoading = false;
        LogHandler::log(LogHandler::Info, LogSource,
                        (boost::format("Game data loaded in %.3f s") % progress->seconds).str());
    });
    buildTexts();
}

LoadingScreen::~LoadingScreen() = default;

void LoadingScreen::buildTexts() {
    // Laid out around the origin, then scaled up and moved into place when drawn.
    m_title = Font::buildTextLine(m_font, ProductName, fpRect(-CentreX, -20.0f, Width, 40.0f), CompassAnchor::Centre);
    m_status = centredLine(m_font, line(m_showsLoaded ? "loading_done" : "loading_data"), 170.0f, 30.0f);
    if (!m_showsLoaded) return;
    const Font& small = *m_components.debugFont;
    const std::string seconds = (boost::format("%.3f") % m_progress->seconds).str();
    m_detail = centredLine(small, (LocalizedFormat("loading_time") % seconds).str(), 204.0f, 16.0f);
    m_prompt = centredLine(small, line("loading_continue"), ButtonY - 8.0f, 16.0f);
}

bool LoadingScreen::handleInput(InputState& input) {
    if (!m_showsLoaded || !input.wasPressed("menu_accept")) return false;
    m_request({RequestState, StateMenus});
    return true;
}

void LoadingScreen::update(const UpdateRecord& record) {
    if (!m_showsLoaded && loaded()) {
        m_showsLoaded = true;
        m_spinner.reset();
        buildTexts();
    }
    // The interface set arrives from the worker; its sprites appear once it is there.
    ISpriteManager* ui = m_components.spriteManagers->find(preloadedSpriteSets().front());
    if (ui && !m_showsLoaded && !m_spinner) {
        m_spinner = ui->createSprite("spinner");
        if (m_spinner) {
            m_spinner->setPosition(CentreX, SpinnerY);
            m_spinner->play();
        }
    }
    if (ui && m_showsLoaded && !m_button) {
        m_button = ui->createSprite("button");
        if (m_button) {
            m_button->setPosition(CentreX, ButtonY);
            m_button->setScale(3.0f, 1.5f);
        }
    }
    if (m_spinner) m_spinner->update(record.stepLength, false);
    if (m_button) m_button->update(record.stepLength, false);
}

void LoadingScreen::render() {
    PrimitiveBatch& shapes = *m_components.primitiveBatch;
    shapes.modelView = fpMatrix4::identity();
    shapes.modelViewChanged = true;
    shapes.addFilledRect(Screen::currentViewport().visibleArea, Background);
    shapes.flush();

    QuadBatch& quads = *m_components.quadBatch;
    quads.begin();
    const fpMatrix4 identity = fpMatrix4::identity();
    fpMatrix4 titlePlace;
    const fpMatrix4 titleScale = fpMatrix4::scaling(TitleScale, TitleScale, 1.0f);
    fpMatrix4::translation(CentreX, TitleY, 0.0f).multiply(titleScale, titlePlace);
    m_title->draw(quads, TitleColour, titlePlace);
    m_status->draw(quads, TextColour, identity);
    if (m_spinner) m_spinner->draw(quads);
    if (m_detail) m_detail->draw(quads, DetailColour, identity);
    if (m_button) m_button->draw(quads);
    if (m_prompt) m_prompt->draw(quads, m_button ? PromptColour : TextColour, identity);
    quads.flush(0);
}

} // namespace zor
