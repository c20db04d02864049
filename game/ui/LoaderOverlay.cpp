#include "game/ui/LoaderOverlay.h"

#include "Framework/core/log/LogHandler.h"
#include "Framework/graphics/screen/Screen.h"
#include "Framework/graphics/sprite/ISpriteManager.h"
#include "Framework/graphics/sprite/SpriteManagers.h"
#include "Framework/system/SystemComponents.h"
#include "Framework/system/surface/UpdateRecord.h"

#include <algorithm>
#include <exception>

namespace zor {

namespace {

constexpr const char* LogSource = "Loader";
constexpr float FadeInRate = 4.0f;  // full opacity after 0.25 s

SpritePtr createLoaderSprite(SpriteManagers& registry) {
    ISpriteManager* set = nullptr;
    try {
        set = registry.get(LoaderOverlay::SpriteSet);
    } catch (const std::exception& error) {
        LogHandler::log(LogHandler::Warning, LogSource, error.what());
        return nullptr;
    }
    SpritePtr sprite = set->createSprite(LoaderOverlay::SpriteName);
    if (!sprite)
        LogHandler::log(LogHandler::Warning, LogSource,
                        std::string("Sprite set ") + LoaderOverlay::SpriteSet + " has no sprite " + LoaderOverlay::SpriteName);
    return sprite;
}

} // namespace

LoaderOverlay::LoaderOverlay(SystemComponents& components) : m_components(components) {
    if (components.spriteManagers) m_sprite = createLoaderSprite(*components.spriteManagers);
    if (!m_sprite) return;
    const fpRect& area = Screen::viewports().front().visibleArea;
    m_sprite->setPosition(area.x + area.w / 2.0f, area.y + area.h / 2.0f);
    m_sprite->restart();
}

void LoaderOverlay::restart() {
    m_elapsed = 0.0f;
    if (m_sprite) m_sprite->restart();
}

void LoaderOverlay::update(const UpdateRecord& record) {
    m_elapsed += record.stepLength;
    if (!m_sprite) return;
    m_sprite->setAlpha(std::min(FadeInRate * m_elapsed, 1.0f));
    m_sprite->update(record.stepLength, false);
}

void LoaderOverlay::draw() {
    if (!m_sprite || Screen::currentViewportIndex() != 0) return;
    QuadBatch& quads = *m_components.quadBatch;
    quads.begin();
    m_sprite->draw(quads);
    quads.flush(0);
}

} // namespace zor
