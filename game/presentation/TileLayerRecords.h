#pragma once
// What the tile layers of one level are drawn from, prebuilt when the level's layers are
// rebuilt: per tile type its texture rectangle and its two fringe sets, per resource its
// overlay, and the level's veins. Quads are in view units (world pixels times viewUnit).

#include "Framework/graphics/batch/Quad.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zor {
struct PatchLibraryTables;
struct ResourceDefinition;
class Texture;
class TextureSet;
struct TextureSetReference;
} // namespace zor

namespace zor::presentation {

struct TileRecord {
    const Texture* texture = nullptr;  // null: the type's cells draw nothing
    float left = 0.0f;
    float top = 0.0f;
    float right = 0.0f;
    float bottom = 0.0f;
};

// A piece drawn at a cell: its texture and its quad relative to the cell's top-left corner.
struct OverlayRecord {
    const Texture* texture = nullptr;
    Quad quad{};
};

// The pieces of a fringe family, in the order "_n", "_w", "_e", "_s", "_ne", "_nw", "_sw", "_se".
struct FringeSet {
    enum Piece { North, West, East, South, NorthEast, NorthWest, SouthWest, SouthEast, PieceCount };
    bool present = false;  // the tile type names the family
    std::array<OverlayRecord, PieceCount> pieces;
};

struct TileLayerRecords {
    std::vector<TileRecord> tiles;       // by tile type
    std::vector<FringeSet> edgeSets;     // by tile type, from its edge name
    std::vector<FringeSet> overlaySets;  // by tile type, from its second edge name
    std::vector<OverlayRecord> resources;  // by resource number - 1
    std::vector<OverlayRecord> veins;      // the level's vein textures that were found

    // Names missing from the tile texture set leave their records without a texture.
    void build(const PatchLibraryTables& library, const TextureSet& tileTextures,
               const std::vector<std::shared_ptr<ResourceDefinition>>& resourceDefinitions,
               const std::vector<std::string>& veinTextures, float viewUnit);
};

// The quad of a texture rectangle centred on the anchor (world pixels from a cell's top-left
// corner), its corners floored to whole pixels and then scaled to view units; white, depth 0.
Quad anchoredQuad(const TextureSetReference& image, float anchorX, float anchorY, float viewUnit);

} // namespace zor::presentation
