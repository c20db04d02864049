#pragma once
// The world's renderer: a drawable per entity that has something to show, the level's
// decals, level sprites and backdrops, tile layers with their fringes and veins, and the
// draw list that puts what is in view into painter's order.
//
// Threads: made, given its levels (World::levelStarted) and deleted on the worker, where
// it reads the World and the definitions only. createRenderResources (main thread) makes
// the GL objects and connects to the settings; World::leavingGame releases both, so the
// destructor makes no GL call.

#include "Framework/core/events/EventList.h"
#include "Framework/core/math/Color.h"
#include "Framework/core/math/Matrix4.h"
#include "Framework/graphics/textureset/TextureSet.h"
#include "game/presentation/DecorationTree.h"
#include "game/presentation/DrawEntry.h"
#include "game/presentation/TileLayerRecords.h"
#include "game/presentation/VisualizerDrawables.h"
#include "game/simulation/ports/Visualizer.h"
#include "game/world/Camera.h"
#include "game/world/level/LevelDefinition.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace zor {
class ColorTextureBloomBlend;
class ColorTextureBlurEffect;
class ColorTextureGamma;
class ColorTextureRescaleColor;
class Entity;
class ISpriteManager;
class QuadBatch;
class RenderTarget;
class SystemComponents;
class Texture;
class World;
struct Level;
} // namespace zor

namespace zor::presentation {

class WorldQuads;

// The graphic assets the game state lends: the light-cell texture and the tile, decal and
// beam texture sets, which outlive the Visualizer.
struct VisualizerAssets {
    TextureSetReference lightTile;
    const TextureSet* tiles = nullptr;
    const TextureSet* decals = nullptr;
    const TextureSet* beams = nullptr;
};

// A backdrop of the level over a range of world y.
struct BackdropLayer {
    std::shared_ptr<Texture> texture;  // null: nothing drawn
    Backdrop description;
    float top = 0.0f;
    float bottom = 0.0f;
};

// The renderer's settings, read from the "Visualizer." keys.
struct VisualizerSettings {
    std::int32_t lightBlendMode = 2;
    fpVector2 tileLightRange;
    float letterboxAspectRatio = 0.0f;
    float letterboxEaseTime = 0.0f;
    float brightness = 0.0f;
    bool bloomEnabled = false;
};

// The scene target's size for a window of W x H pixels: 2W x 2H, each side cut to what the
// GL allows (the frame samples only W x H of it).
iVector2 sceneTargetSize(iVector2 window, std::int32_t maxTextureSize, std::int32_t maxRenderbufferSize);

class Visualizer final : public zor::Visualizer {
public:
    static constexpr int WorldBatchQuads = 2048;

    // `host` gives the sprite-set registry (none: no sprites are made).
    Visualizer(SystemComponents* host, const VisualizerAssets& assets, World& world);
    ~Visualizer() override;
    Visualizer(const Visualizer&) = delete;
    Visualizer& operator=(const Visualizer&) = delete;

    void createRenderResources() override;
    void update(const UpdateRecord& record) override;
    // The draw list of the level in the world perspective, into the bound framebuffer.
    void render(const UpdateRecord& drawRecord) override;
    bool handleDebugInput(InputState&) override { return false; }

    // GL objects and the settings connection go; the Game makes them again with
    // createRenderResources.
    void releaseRenderResources();
    void readSettings();
    void onSettingChanged(const std::string& key);
    // World::levelStarted: the level layers, then the environment's bloom.
    void onLevelStarted();
    void rebuildLevelLayers();
    void buildDrawList();
    void drawList(WorldQuads& quads);

    const VisualizerSettings& settings() const { return m_settings; }
    const std::vector<DrawEntry>& drawEntries() const { return m_drawList; }
    const Camera& renderCamera() const { return m_camera; }
    float viewUnit() const { return m_viewUnit; }
    std::int32_t updateCount() const { return m_updateCount; }
    const TileLayerRecords& tileRecords() const { return m_tiles; }
    const std::vector<Decal>& decals() const { return m_decals; }
    const BackdropLayer& defaultBackdrop() const { return m_defaultBackdrop; }
    const std::vector<BackdropLayer>& sliceBackdrops() const { return m_sliceBackdrops; }
    const DrawableTable<GameObjectDrawable>& gameObjectDrawables() const { return m_gameObjects; }
    const DrawableTable<EffectDrawable>& effectDrawables() const { return m_effects; }
    const DrawableTable<TileDamageDrawable>& tileDamageDrawables() const { return m_tileDamage; }
    const DrawableTable<LightDrawable>& lightDrawables() const { return m_lights; }
    const DrawableTable<WorldTextDrawable>& worldTextDrawables() const { return m_worldTexts; }
    const DrawableTable<BeamDrawable>& beamDrawables() const { return m_beams; }
    float blurOverlay() const { return m_blurOverlay; }
    float sourceFactor() const { return m_sourceFactor; }
    float blurSize() const { return m_blurSize; }
    QuadBatch* worldBatch() const { return m_worldBatch.get(); }
    RenderTarget* sceneTarget() const { return m_sceneTarget.get(); }

private:
    void computeViewScale();
    void applyEnvironmentBloom();
    void createTargets();
    void buildBeamTextureLists();
    SpritePtr makeSprite(const std::string& reference) const;

    // World::entityAdded and World::entityRemoved.
    void onEntityAdded(Entity* entity);
    void onEntityRemoved(Entity* entity);
    void addGameObject(GameObject& object);
    void addEffect(EffectObject& effect);
    void addWorldText(WorldText& text);
    void addTileDamage(TileDamage& damage);
    void addLight(LightObject& light);
    void addBeam(Beam& beam);
    // The positions and visibility of the game objects for this step.
    void stepGameObjects();

    void buildDecals(const Level& level, float virtualWidth);
    void buildLevelSprites(const Level& level, float virtualWidth);
    void buildBackdrops(const Level& level);
    // The perspective margin around a decoration's bounds at depth z.
    fpRect growForDepth(const fpRect& bounds, float z) const;
    void appendQuestSign(const GameObject& object, std::int32_t priority);

    SystemComponents* m_host;
    World& m_world;
    std::vector<EventConnection> m_connections;
    EventConnection m_settingsConnection;
    std::unique_ptr<QuadBatch> m_worldBatch;

    DrawableTable<GameObjectDrawable> m_gameObjects;
    DrawableTable<EffectDrawable> m_effects;
    DrawableTable<TileDamageDrawable> m_tileDamage;
    DrawableTable<LightDrawable> m_lights;
    DrawableTable<WorldTextDrawable> m_worldTexts;
    DrawableTable<BeamDrawable> m_beams;

    ISpriteManager* m_lightSprites = nullptr;
    VisualizerAssets m_assets;

    fpVector2 m_visibleSize;
    float m_viewUnit = 0.0f;
    float m_cellSize = 0.0f;
    fpMatrix4 m_unitMatrix;

    SpritePtr m_questSign;

    std::unique_ptr<RenderTarget> m_lightMap;
    std::unique_ptr<ColorTextureRescaleColor> m_brightPass;
    std::unique_ptr<ColorTextureBlurEffect> m_blur;
    std::unique_ptr<ColorTextureBloomBlend> m_bloomBlend;
    std::unique_ptr<ColorTextureGamma> m_gamma;
    std::unique_ptr<RenderTarget> m_sceneTarget;
    std::unique_ptr<RenderTarget> m_bloomTargets[2];

    float m_sourceFactor = 1.0f;
    float m_blurSize = 10.0f;
    float m_blurOverlay = 0.0f;

    TileLayerRecords m_tiles;
    std::unordered_map<std::string, std::shared_ptr<const BeamTextureList>> m_beamTextures;
    TextureSetReference m_blobSquare;
    TextureSetReference m_blobSquareAlpha;

    std::vector<DrawEntry> m_drawList;
    std::vector<SpritePtr> m_levelSprites;
    std::unique_ptr<DecorationTree> m_decorations;
    std::vector<Decal> m_decals;  // the tree's decal entries point into it
    BackdropLayer m_defaultBackdrop;
    std::vector<BackdropLayer> m_sliceBackdrops;
    // The level whose unknown environment was reported, so that it is reported once.
    std::string m_reportedEnvironment;

    Camera m_camera;
    fpVector2 m_previousScroll;
    fpVector2 m_currentScroll;
    PackedColor m_previousFlash;
    PackedColor m_currentFlash;
    std::int32_t m_updateCount = 0;

    VisualizerSettings m_settings;
};

} // namespace zor::presentation
