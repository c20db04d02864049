#include "game/presentation/IngameGraphics.h"

#include "Framework/core/threads/WorkQueue.h"
#include "Framework/graphics/render/RenderState.h"
#include "Framework/graphics/texture/Texture.h"
#include "Framework/graphics/textureset/TextureSet.h"

namespace zor {

IngameGraphics::IngameGraphics(SystemComponents& components) : m_components(components) {}

IngameGraphics::~IngameGraphics() = default;

void IngameGraphics::preload(IWorkQueue& worker) {
    worker.post([this] { loadLightTile(); });
    worker.post([this] { loadTileAtlas(); });
    worker.post([this] { loadDecalAtlas(); });
    worker.post([this] { loadBeamAtlas(); });
}

void IngameGraphics::loadLightTile() {
    // Linear both ways, clamped: the light map stretches the tile over whole cells.
    m_lightTile = std::make_shared<Texture>(LightTilePath, false, TextureSampling{1, 1, 0, 0});
}

void IngameGraphics::loadTileAtlas() { m_tiles = loadTextureSet(TileAtlasPath); }

void IngameGraphics::loadDecalAtlas() { m_decals = loadTextureSet(DecalAtlasPath); }

void IngameGraphics::loadBeamAtlas() { m_beams = loadTextureSet(BeamAtlasPath); }

} // namespace zor
