#include "game/presentation/TileLayerRecords.h"

#include "Framework/graphics/texture/Texture.h"
#include "Framework/graphics/textureset/TextureSet.h"
#include "game/definitions/ResourceDefinition.h"
#include "game/world/level/PatchLibraryTables.h"

#include <cmath>

namespace zor::presentation {

namespace {

constexpr PackedColor White(0xFFFFFFFFu);

struct PieceName {
    const char* suffix;
    float anchorX;
    float anchorY;
};

// Where each piece of a fringe family sits on its cell.
constexpr PieceName FringePieces[FringeSet::PieceCount] = {
    {"_n", 20, 0}, {"_w", 0, 20}, {"_e", 40, 20}, {"_s", 20, 40},
    {"_ne", 0, 0}, {"_nw", 40, 0}, {"_sw", 0, 0}, {"_se", 40, 0},
};

bool findOverlay(const TextureSet& set, const std::string& name, float anchorX, float anchorY, float viewUnit,
                 OverlayRecord& out) {
    TextureSetReference image;
    if (name.empty() || !set.findTexture(name, image)) return false;
    out.texture = image.texture;
    out.quad = anchoredQuad(image, anchorX, anchorY, viewUnit);
    return true;
}

FringeSet fringeSet(const TextureSet& set, const std::string& base, float viewUnit) {
    FringeSet fringes;
    if (base.empty()) return fringes;
    fringes.present = true;
    for (int piece = 0; piece < FringeSet::PieceCount; ++piece) {
        const PieceName& name = FringePieces[piece];
        findOverlay(set, base + name.suffix, name.anchorX, name.anchorY, viewUnit, fringes.pieces[piece]);
    }
    return fringes;
}

} // namespace

Quad anchoredQuad(const TextureSetReference& image, float anchorX, float anchorY, float viewUnit) {
    const float w = image.rect.w;
    const float h = image.rect.h;
    const float x0 = std::floor(anchorX - w / 2) * viewUnit;
    const float y0 = std::floor(anchorY - h / 2) * viewUnit;
    const float x1 = std::floor(anchorX + w / 2) * viewUnit;
    const float y1 = std::floor(anchorY + h / 2) * viewUnit;
    const float rw = image.texture->reciprocalWidth();
    const float rh = image.texture->reciprocalHeight();
    const float u0 = image.rect.x * rw;
    const float v0 = image.rect.y * rh;
    const float u1 = (image.rect.x + w) * rw;
    const float v1 = (image.rect.y + h) * rh;
    Quad quad;
    quad.vertices[0] = {x0, y0, 0.0f, White, u0, v0};
    quad.vertices[1] = {x0, y1, 0.0f, White, u0, v1};
    quad.vertices[2] = {x1, y0, 0.0f, White, u1, v0};
    quad.vertices[3] = {x1, y1, 0.0f, White, u1, v1};
    return quad;
}

void TileLayerRecords::build(const PatchLibraryTables& library, const TextureSet& tileTextures,
                             const std::vector<std::shared_ptr<ResourceDefinition>>& resourceDefinitions,
                             const std::vector<std::string>& veinTextures, float viewUnit) {
    const std::size_t typeCount = library.tileTypes.size();
    tiles.assign(typeCount, TileRecord());
    edgeSets.assign(typeCount, FringeSet());
    overlaySets.assign(typeCount, FringeSet());
    for (std::size_t type = 0; type < typeCount; ++type) {
        const TileType& tileType = library.tileTypes[type];
        TextureSetReference image;
        if (!tileType.texture.empty() && tileTextures.findTexture(tileType.texture, image)) {
            TileRecord& record = tiles[type];
            record.texture = image.texture;
            record.left = image.rect.x * image.texture->reciprocalWidth();
            record.top = image.rect.y * image.texture->reciprocalHeight();
            record.right = (image.rect.x + image.rect.w) * image.texture->reciprocalWidth();
            record.bottom = (image.rect.y + image.rect.h) * image.texture->reciprocalHeight();
        }
        edgeSets[type] = fringeSet(tileTextures, tileType.edgeTexture, viewUnit);
        overlaySets[type] = fringeSet(tileTextures, tileType.secondEdgeTexture, viewUnit);
    }

    resources.assign(resourceDefinitions.size(), OverlayRecord());
    for (std::size_t index = 0; index < resourceDefinitions.size(); ++index) {
        const ResourceDefinition& resource = *resourceDefinitions[index];
        if (!resource.useVeinTileTexture)
            findOverlay(tileTextures, resource.tileTexture, 20, 20, viewUnit, resources[index]);
    }

    veins.clear();
    for (const std::string& name : veinTextures) {
        OverlayRecord vein;
        if (findOverlay(tileTextures, name, 20, 20, viewUnit, vein)) veins.push_back(vein);
    }
}

} // namespace zor::presentation
