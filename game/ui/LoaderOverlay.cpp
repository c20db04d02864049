#include "game/ui/LoaderOverlay.h"

#include "game/ui/LoadingScreen.h"

#include "Framework/graphics/screen/Screen.h"
#include "Framework/graphics/sprite/ISpriteManager.h"
#include "Framework/system/SystemComponents.h"
#include "Framework/system/surface/UpdateRecord.h"

#include <algorithm>

namespace zor {

namespace {

constexpr float FadeInRate = 4.0f;  // full opacity after 0.25 s
const PackedColor Background = PackedColor::fromChannels(18, 22, 34, 255);

} // namespace

void LoaderOverlay::restart() {
    m_elapsed = 0.0f;
    if (m_spinner) m_spinner->restart();
}

void LoaderOverlay::update(const UpdateRecord& record) {
    m_elapsed += record.stepLength;
    if (!m_spinner && m_components.spriteManagers) {
        // The interface set arrives with the loading screen's preloads.
        ISpriteManager* ui = m_components.spriteManagers->find(LoadingScreen::preloadedSpriteSets().front());
        if (ui) m_spinner = ui->createSprite("spinner");
        if (m_spinner) m_spinner->play();
    }
    if (!m_spinner) return;
    const fpRect& area = Screen::currentViewport().visibleArea;
    m_spinner->setPosition(area.x + area.w / 2.0f, area.y + area.h / 2.0f);
    m_spinner->setAlpha(std::min(FadeInRate * m_elapsed, 1.0f));
    m_spinner->update(record.stepLength, false);
}

void LoaderOverlay::draw() {
    if (Screen::currentViewportIndex() != 0) return;
    PrimitiveBatch& shapes = *m_components.primitiveBatch;
    shapes.modelView = fpMatrix4::identity();
    shapes.modelViewChanged = true;
    shapes.addFilledRect(Screen::currentViewport().visibleArea, Background);
    shapes.flush();
    if (!m_spinner) return;
    QuadBatch& quads = *m_components.quadBatch;
    quads.begin();
    m_spinner->draw(quads);
    quads.flush(0);
}

} // namespace zor
