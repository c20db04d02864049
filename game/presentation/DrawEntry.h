#pragma once
// One element of the world's draw list, and the painter's order the list is sorted into.

#include <cstdint>

namespace zor {
class ISpriteManager;
class Sprite;
struct TileLayerGrid;
} // namespace zor

namespace zor::presentation {

struct BeamDrawable;
struct Decal;

struct DrawEntry {
    enum Kind : std::uint32_t { TileLayer = 0, DecalKind = 1, SpriteKind = 2, BeamKind = 3 };

    Kind kind = TileLayer;
    float depth = 0.0f;  // z: 0 the game plane, larger farther away
    std::int32_t priority = 0;
    std::uint32_t order = 0;  // the index at insertion into the list
    const void* object = nullptr;

    static DrawEntry layer(float z, const TileLayerGrid& layer) { return {TileLayer, z, -1000, 0, &layer}; }
    static DrawEntry decal(float z, std::int32_t priority, const Decal& decal) {
        return {DecalKind, z, priority, 0, &decal};
    }
    static DrawEntry sprite(float z, std::int32_t priority, Sprite& sprite) {
        return {SpriteKind, z, priority, 0, &sprite};
    }
    static DrawEntry beam(std::int32_t priority, const BeamDrawable& beam) { return {BeamKind, 0.0f, priority, 0, &beam}; }

    const TileLayerGrid& asLayer() const { return *static_cast<const TileLayerGrid*>(object); }
    const Decal& asDecal() const { return *static_cast<const Decal*>(object); }
    Sprite& asSprite() const { return *const_cast<Sprite*>(static_cast<const Sprite*>(object)); }
    const BeamDrawable& asBeam() const { return *static_cast<const BeamDrawable*>(object); }
};

// a before b: farther first, then lower priority, then lower kind, then (two sprites) by
// sprite set so that a sheet's sprites stay together, then insertion order.
bool drawOrderLess(const DrawEntry& a, const DrawEntry& b);

} // namespace zor::presentation
