// What the Visualizer builds once per level: the tile records, the decoration tree with
// the level's decals and level sprites, and the backdrops.

#include "game/presentation/Visualizer.h"

#include "Framework/graphics/screen/Screen.h"
#include "Framework/graphics/texture/Texture.h"
#include "game/definitions/BeamDefinition.h"
#include "game/definitions/ResourceDefinition.h"
#include "game/presentation/WorldQuads.h"
#include "game/world/World.h"
#include "game/world/level/PatchLibraryTables.h"

#include <cmath>
#include <limits>

namespace zor::presentation {

namespace {

constexpr PackedColor White(0xFFFFFFFFu);

fpVector2 applyToPoint(const fpMatrix4& m, float x, float y) {
    return {m[0] * x + m[4] * y + m[12], m[1] * x + m[5] * y + m[13]};
}

} // namespace

void Visualizer::rebuildLevelLayers() {
    m_updateCount = 0;
    const std::shared_ptr<Level> level = m_world.level;
    m_levelSprites.clear();
    m_decals.clear();
    if (!level || level->layers.empty()) {
        m_decorations.reset();
        return;
    }
    const Screen::Viewport& viewport = Screen::currentViewport();
    if (level->library && m_assets.tiles)
        m_tiles.build(*level->library, *m_assets.tiles, resourceRegistry().definitions(), level->veinTextures,
                      m_viewUnit);
    const TileLayerGrid& main = level->mainLayer();
    m_decorations = std::make_unique<DecorationTree>(
        fpRect(0, 0, float(main.width) * 40.0f, float(main.height) * 40.0f), viewport.virtualHeight / 2);
    buildDecals(*level, viewport.virtualWidth);
    buildLevelSprites(*level, viewport.virtualWidth);
    buildBackdrops(*level);
}

fpRect Visualizer::growForDepth(const fpRect& bounds, float z) const {
    const float dx = m_visibleSize.x * 0.55f * z;
    const float dy = m_visibleSize.y * 0.55f * z;
    return {bounds.x - dx, bounds.y - dy, bounds.w + 2 * dx, bounds.h + 2 * dy};
}

void Visualizer::buildDecals(const Level& level, float virtualWidth) {
    if (!m_assets.decals) return;
    // Reserved whole first: the tree's entries point into the vector.
    m_decals.reserve(level.transformObjects.size());
    for (const PatchTransformObject& object : level.transformObjects) {
        TextureSetReference image;
        if (!m_assets.decals->findTexture(object.name, image)) continue;
        fpMatrix4 m = object.transform;
        const float z = levelDepthToZ(m[14], virtualWidth);
        m[14] = z;
        const float w = image.rect.w, h = image.rect.h;
        const fpVector2 centre = applyToPoint(m, w / 2, h / 2);
        const float halfX = std::fabs(m[0]) * w / 2 + std::fabs(m[4]) * h / 2;
        const float halfY = std::fabs(m[1]) * w / 2 + std::fabs(m[5]) * h / 2;
        Decal decal;
        decal.priority = 0;  // level decals carry none
        decal.texture = image.texture;
        decal.bounds = growForDepth({centre.x - halfX, centre.y - halfY, 2 * halfX, 2 * halfY}, z);
        fpMatrix4 placed;
        m_unitMatrix.multiply(m, placed);
        const float rw = image.texture->reciprocalWidth(), rh = image.texture->reciprocalHeight();
        const float u0 = image.rect.x * rw, v0 = image.rect.y * rh;
        const float u1 = (image.rect.x + w) * rw, v1 = (image.rect.y + h) * rh;
        const float corners[4][4] = {{0, 0, u0, v0}, {0, h, u0, v1}, {w, 0, u1, v0}, {w, h, u1, v1}};
        for (int i = 0; i < 4; ++i) {
            const float x = corners[i][0], y = corners[i][1];
            decal.quad.vertices[i] = {placed[0] * x + placed[4] * y + placed[12],
                                      placed[1] * x + placed[5] * y + placed[13],
                                      placed[2] * x + placed[6] * y + placed[14], White, corners[i][2],
                                      corners[i][3]};
        }
        m_decals.push_back(decal);
        m_decorations->insert(DrawEntry::decal(z, decal.priority, m_decals.back()), decal.bounds);
    }
}

void Visualizer::buildLevelSprites(const Level& level, float virtualWidth) {
    for (const PatchPointObject& object : level.pointObjects) {
        SpritePtr sprite = makeSprite(object.name);
        if (!sprite) continue;
        const float z = levelDepthToZ(object.depth, virtualWidth);
        sprite->setPosition(object.x, object.y);
        sprite->setZ(z);
        sprite->setScale(object.scaleX, object.scaleY);
        sprite->setRotation(object.angle);
        sprite->restart();
        sprite->update(0.0f, false);
        // The carried value is the priority, as signed.
        const std::int32_t priority = std::int32_t(object.value);
        m_decorations->insert(DrawEntry::sprite(z, priority, *sprite), growForDepth(sprite->computeBounds(), z));
        m_levelSprites.push_back(std::move(sprite));
    }
}

void Visualizer::buildBackdrops(const Level& level) {
    const auto backdropOf = [](const Backdrop& description, float top, float bottom) {
        BackdropLayer layer;
        layer.description = description;
        layer.top = top;
        layer.bottom = bottom;
        if (!description.texture.empty()) {
            TextureSampling sampling;
            sampling.minFilter = 1;
            sampling.magFilter = 1;
            sampling.wrapS = 1;
            sampling.wrapT = 1;
            layer.texture = std::make_shared<Texture>(description.texture, false, sampling);
        }
        return layer;
    };
    const float infinity = std::numeric_limits<float>::max();
    m_defaultBackdrop = backdropOf(level.backdrop, -infinity, infinity);
    m_sliceBackdrops.clear();
    float top = 0.0f;
    for (const LevelSlice& slice : level.slices) {
        const float bottom = top + float(slice.height) * 40.0f;
        if (!slice.backdrop.texture.empty()) m_sliceBackdrops.push_back(backdropOf(slice.backdrop, top, bottom));
        top = bottom;
    }
}

void Visualizer::buildBeamTextureLists() {
    if (!m_assets.beams) return;
    for (const std::shared_ptr<BeamDefinition>& definition : beamRegistry().definitions()) {
        if (definition->type != BeamType::Lightning || definition->textures.empty()) continue;
        if (m_beamTextures.count(definition->textures)) continue;
        auto list = std::make_shared<BeamTextureList>();
        for (int index = 0; index < 256; ++index) {
            TextureSetReference image;
            if (!m_assets.beams->findTexture(definition->textures + std::to_string(index), image)) break;
            list->push_back(image);
        }
        m_beamTextures[definition->textures] = std::move(list);
    }
}

} // namespace zor::presentation
