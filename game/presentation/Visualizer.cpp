#include "game/presentation/Visualizer.h"

#include "Framework/core/log/LogHandler.h"
#include "Framework/core/settings/SettingsHandler.h"
#include "Framework/graphics/batch/QuadBatch.h"
#include "Framework/graphics/effects/ColorTextureBloomBlend.h"
#include "Framework/graphics/effects/ColorTextureBlurEffect.h"
#include "Framework/graphics/effects/ColorTextureGamma.h"
#include "Framework/graphics/effects/ColorTextureRescaleColor.h"
#include "Framework/graphics/render/RenderTarget.h"
#include "Framework/graphics/screen/Screen.h"
#include "Framework/graphics/sprite/SpriteManagers.h"
#include "Framework/system/SystemComponents.h"
#include "Framework/system/surface/UpdateRecord.h"
#include "game/definitions/EnvironmentDefinition.h"
#include "game/presentation/WorldQuads.h"
#include "game/world/World.h"

#include <GL/glew.h>

#include <algorithm>
#include <cmath>

namespace zor::presentation {

namespace {

constexpr const char* QuestSignReference = "Sprites/chars-shalebury;quest_sign";
constexpr const char* LightSpriteSet = "Sprites/lights";
// The world perspective: a horizontal field of view of 2 atan(0.5) puts depth 0 at one
// view width from the eye, where the view's own plane lies.
const float WorldFieldOfView = 2.0f * std::atan(0.5f);
constexpr float WorldNear = 0.5f;
constexpr float WorldFar = 500.0f;

} // namespace

iVector2 sceneTargetSize(iVector2 window, std::int32_t maxTextureSize, std::int32_t maxRenderbufferSize) {
    const std::int32_t limit = std::min(maxTextureSize, maxRenderbufferSize);
    return {std::min(2 * window.x, limit), std::min(2 * window.y, limit)};
}

Visualizer::Visualizer(SystemComponents* host, const VisualizerAssets& assets, World& world)
    : m_host(host), m_world(world), m_assets(assets) {
    if (m_host && m_host->spriteManagers) m_lightSprites = m_host->spriteManagers->find(LightSpriteSet);
    m_camera.update();
    computeViewScale();
    readSettings();
    m_connections.push_back(m_world.entityAdded.connect(this, &Visualizer::onEntityAdded));
    m_connections.push_back(m_world.entityRemoved.connect(this, &Visualizer::onEntityRemoved));
    m_connections.push_back(m_world.levelStarted.connect(this, &Visualizer::onLevelStarted));
    m_connections.push_back(m_world.leavingGame.connect(this, &Visualizer::releaseRenderResources));
    m_connections.push_back(m_world.playerHurt.connect(this, [](Visualizer* self) { self->m_blurOverlay = 1.0f; }));
    m_drawList.reserve(32);
    buildBeamTextureLists();
    if (m_assets.beams) {
        m_assets.beams->findTexture("blobsq", m_blobSquare);
        m_assets.beams->findTexture("blobsqalpha", m_blobSquareAlpha);
    }
    m_questSign = makeSprite(QuestSignReference);
    if (m_questSign) m_questSign->restart();
}

Visualizer::~Visualizer() {
    for (EventConnection& connection : m_connections) connection.release();
}

void Visualizer::createRenderResources() {
    m_lightMap = std::make_unique<RenderTarget>(1024, 512);
    m_worldBatch = std::make_unique<QuadBatch>(WorldBatchQuads);
    m_blur = std::make_unique<ColorTextureBlurEffect>();
    m_brightPass = std::make_unique<ColorTextureRescaleColor>();
    m_bloomBlend = std::make_unique<ColorTextureBloomBlend>();
    m_gamma = std::make_unique<ColorTextureGamma>();
    createTargets();
    applyEnvironmentBloom();
    // Made again after a demo restart: the new connection replaces the old one.
    m_settingsConnection =
        SettingsHandler::instance().settingsChanged().connect(this, [](Visualizer* self, const std::string& key,
                                                                       const OptionalSettingValue&,
                                                                       const SettingsHandler::Setting&) {
            self->onSettingChanged(key);
        });
}

void Visualizer::createTargets() {
    const Screen::Viewport& window = Screen::viewports().front();
    GLint maxTexture = 0, maxRenderbuffer = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxTexture);
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &maxRenderbuffer);
    const iVector2 scene = sceneTargetSize({window.windowWidth, window.windowHeight}, maxTexture, maxRenderbuffer);
    m_sceneTarget = std::make_unique<RenderTarget>(scene.x, scene.y);
    for (std::unique_ptr<RenderTarget>& target : m_bloomTargets)
        target = std::make_unique<RenderTarget>(window.windowWidth, window.windowHeight);
}

void Visualizer::releaseRenderResources() {
    m_settingsConnection.release();
    m_lightMap.reset();
    m_worldBatch.reset();
    m_sceneTarget.reset();
    for (std::unique_ptr<RenderTarget>& target : m_bloomTargets) target.reset();
    m_blur.reset();
    m_brightPass.reset();
    m_bloomBlend.reset();
    m_gamma.reset();
}

void Visualizer::readSettings() {
    const SettingsHandler& settings = SettingsHandler::instance();
    m_settings.lightBlendMode = settings.getString("Visualizer.LightBlendFunction") == "max" ? 8 : 2;
    m_settings.tileLightRange = settings.getVector2("Visualizer.TileLight");
    m_settings.letterboxAspectRatio = settings.getFloat("Visualizer.LetterBoxingAspectRatio");
    m_settings.letterboxEaseTime = settings.getFloat("Visualizer.LetterBoxingEaseTime");
    m_settings.brightness = settings.getFloat("Visualizer.Brightness");
    m_settings.bloomEnabled = settings.getBool("Visualizer.Bloom");
}

void Visualizer::onSettingChanged(const std::string& key) {
    if (key.compare(0, 11, "Visualizer.") == 0) readSettings();
}

void Visualizer::onLevelStarted() {
    rebuildLevelLayers();
    applyEnvironmentBloom();
}

void Visualizer::applyEnvironmentBloom() {
    if (!m_brightPass || !m_world.level) return;
    const Level& level = *m_world.level;
    std::shared_ptr<EnvironmentDefinition> found = environmentRegistry().find(level.environment);
    if (!found) {
        // Neutral bloom, and one word of it per level.
        if (m_reportedEnvironment != level.name) {
            m_reportedEnvironment = level.name;
            LogHandler::log(LogHandler::Warning, "Visualizer",
                            "Level \"" + level.name + "\" names the environment \"" + level.environment +
                                "\", which is not defined; its bloom is neutral");
        }
        found = std::make_shared<EnvironmentDefinition>();
    }
    const EnvironmentDefinition& environment = *found;
    m_brightPass->colorTransform[0] = environment.preThreshold;
    m_brightPass->colorTransform[1] = environment.power;
    m_brightPass->colorTransform[2] = environment.postThreshold;
    m_blurSize = environment.blurSize;
    m_sourceFactor = environment.sourceFactor;
    m_bloomBlend->sourceOverBurn = environment.sourceOverBurn;
    m_bloomBlend->targetConstantFactor = environment.targetConstantFactor;
    m_bloomBlend->targetInverseSourceFactor = environment.targetInverseSourceFactor;
}

void Visualizer::computeViewScale() {
    const fpRect& visible = Screen::currentViewport().visibleArea;
    m_visibleSize = {visible.w, visible.h};
    m_viewUnit = visible.w > 0.0f ? 1.0f / visible.w : 0.0f;
    m_cellSize = 40.0f * m_viewUnit;
    m_unitMatrix = fpMatrix4::scaling(m_viewUnit, m_viewUnit, 1.0f);
    if (m_world.level) rebuildLevelLayers();
}

void Visualizer::update(const UpdateRecord& record) {
    const fpRect& visible = Screen::currentViewport().visibleArea;
    if (visible.w != m_visibleSize.x || visible.h != m_visibleSize.y) computeViewScale();
    m_camera = m_world.camera;
    m_previousScroll = m_currentScroll;
    m_currentScroll = m_camera.scroll;
    m_previousFlash = m_currentFlash;
    m_currentFlash = m_world.tintColor;
    if (m_updateCount == 0) {
        m_previousScroll = m_currentScroll;
        m_previousFlash = m_currentFlash;
        m_updateCount = 1;
    }
    ++m_updateCount;
    stepGameObjects();
    (void)record;
}

void Visualizer::render(const UpdateRecord&) {
    if (!m_worldBatch || !m_world.level) return;
    // The render camera's view in view units, centred, turned to look along +z.
    fpMatrix4 view = m_camera.viewMatrix;
    view[12] = (view[12] - m_camera.viewSize.x / 2) * m_viewUnit;
    view[13] = (view[13] - m_camera.viewSize.y / 2) * m_viewUnit;
    fpMatrix4 turned;
    fpMatrix4::scaling(1.0f, -1.0f, -1.0f).multiply(view, turned);
    QuadBatch& batch = *m_worldBatch;
    batch.begin();
    batch.transformBlock.setPerspective(turned, WorldFieldOfView, WorldNear, WorldFar);
    batch.setTransform(m_unitMatrix);
    batch.blendMode = 1;
    batch.depth = 0.0f;
    WorldQuads quads(batch, [](CommonBatch& full) { static_cast<QuadBatch&>(full).flush(0); });
    buildDrawList();
    drawList(quads);
    batch.flush(0);
}

SpritePtr Visualizer::makeSprite(const std::string& reference) const {
    if (reference.empty() || !m_host || !m_host->spriteManagers) return nullptr;
    return createSpriteByReference(reference, *m_host->spriteManagers);
}

} // namespace zor::presentation
