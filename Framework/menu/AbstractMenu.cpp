#include "Framework/menu/AbstractMenu.h"

#include "Framework/core/Errors.h"
#include "Framework/graphics/screen/Screen.h"
#include "Framework/graphics/sprite/ISpriteManager.h"
#include "Framework/system/SystemComponents.h"
#include "Framework/system/surface/UpdateRecord.h"

namespace zor {
namespace {

iRect designArea() {
    const Screen::Viewport& first = Screen::viewports().front();
    return {0, 0, static_cast<std::int32_t>(first.virtualWidth), static_cast<std::int32_t>(first.virtualHeight)};
}

const Screen::Viewport* viewportAt(int index) {
    const std::vector<Screen::Viewport>& all = Screen::viewports();
    return index >= 0 && index < static_cast<int>(all.size()) ? &all[static_cast<std::size_t>(index)] : nullptr;
}

} // namespace

AbstractMenu::AbstractMenu(ISpriteManager& spriteManager, SystemComponents& gameContext,
                           const std::string& layoutName, int viewport)
    : StateSurface(designArea()), m_gameContext(&gameContext), m_spriteManager(&spriteManager), m_viewport(viewport) {
    SpritePtr layout = spriteManager.createSprite(layoutName);
    if (!layout) throw CheckReleaseError("Menu layout '" + layoutName + "' is missing from its sprite set");
    m_itemContext = {&gameContext, &spriteManager, layout};
    const Screen::Viewport* own = viewportAt(viewport);
    const float width = own ? own->virtualWidth : 0.0f;
    const float height = own ? own->virtualHeight : 0.0f;
    layout->setPosition(width / 2.0f, height / 2.0f);
    layout->update(0.0f, false);
    m_root = std::make_shared<SwitchMenuItem>(&m_itemContext, std::string(), &m_rootNameParameters);
    m_connections.push_back(m_root->stateStartedIndex.connect(this, &AbstractMenu::onStateStarted));
    m_connections.push_back(m_root->stateFinishedIndex.connect(this, &AbstractMenu::onStateFinished));
    m_root->setRect(fpRect(0.0f, 0.0f, width, height));
}

AbstractMenu::~AbstractMenu() {
    m_connections.clear();
    m_root.reset();
    m_itemContext.layoutSprite.reset();
    // A listener may delete the menu while one of these lists fires: emptied, it ends
    // that firing safely.
    for (EventList<>* list : {&introStarted, &introFinished, &idleStarted, &idleFinished, &outroStarted, &outroFinished}) {
        list->disconnectAll();
    }
}

void AbstractMenu::onStateStarted(int index) {
    if (index == SwitchMenuItem::Idle) onIdleStarted();
    if (index == SwitchMenuItem::Intro) onIntroStarted();
    if (index == SwitchMenuItem::Outro) onOutroStarted();
}

void AbstractMenu::onStateFinished(int index) {
    if (index == SwitchMenuItem::Idle) onIdleFinished();
    if (index == SwitchMenuItem::Intro) onIntroFinished();
    if (index == SwitchMenuItem::Outro) onOutroFinished();
}

void AbstractMenu::onOutroFinished() {
    outroFinished.fire();
    m_finished = true;
}

void AbstractMenu::setState(int index) {
    m_root->setState(SwitchMenuItem::stateNameOf(index));
    m_finished = false;
    update(UpdateRecord());
}

void AbstractMenu::close() {
    if (m_root->stateIndex() != SwitchMenuItem::Outro) setState(SwitchMenuItem::Outro);
}

bool AbstractMenu::handleInput(InputState& input) {
    if (m_root->handleInput(input)) return true;
    return StateSurface::handleInput(input);
}

void AbstractMenu::update(const UpdateRecord& record) {
    UpdateRecord own = record;
    // Menus stand still while a state fade runs.
    if (own.fading) own.stepLength = 0.0f;
    if (const Screen::Viewport* view = viewportAt(m_viewport)) m_root->setContentRect(view->visibleArea);
    Sprite& layout = layoutSprite();
    layout.update(own.stepLength, false);
    m_root->update(own);
    for (const auto& child : m_children) child->update(own);
    layout.update(0.0f, false);
}

void AbstractMenu::render() {
    if (Screen::currentViewportIndex() != m_viewport) return;
    QuadBatch& batch = *m_gameContext->quadBatch;
    batch.begin();
    drawBackground(batch);
    m_root->draw();
    for (const auto& child : m_children) child->render();
    drawForeground(batch);
    batch.flush(0);
}

} // namespace zor
