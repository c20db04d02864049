#include "game/presentation/TileLayerDrawing.h"

#include "game/presentation/TileLayerRecords.h"
#include "game/presentation/WorldQuads.h"
#include "game/world/PersistentTileMap.h"
#include "game/world/SharedConstants.h"
#include "game/world/level/Level.h"
#include "game/world/level/PatchLibraryTables.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace zor::presentation {

namespace {

constexpr PackedColor White(0xFFFFFFFFu);

std::uint8_t gridFlags(const Level& level, std::int32_t cell) {
    const std::vector<std::uint8_t>& grid = level.tileMap->data();
    return cell >= 0 && std::size_t(cell) < grid.size() ? grid[std::size_t(cell)] : 0;
}

const TileType* typeOf(const Level& level, std::uint16_t word) {
    const std::vector<TileType>& types = level.library->tileTypes;
    const std::size_t index = TileWord::typeIndex(word);
    return index < types.size() ? &types[index] : nullptr;
}

// Flag bit 0 of a tile type: its unexplored cells are hidden, and it takes part in the
// fringe rules with its first number as weight.
bool hiddenType(const TileType* type) { return type && (type->flags & 0x01) != 0; }
std::int32_t weightOf(const TileType* type) { return type ? type->requiredTier : 0; }

// The tile list drawn outside a layer: the named set, the patch library's default list for an empty
// one; an empty result draws nothing.
const std::vector<std::uint16_t>& borderTiles(const Level& level, const std::string& setName) {
    const std::vector<std::uint16_t>& tiles = level.library->findTileSet(setName).tiles;
    return tiles.empty() ? defaultTileList : tiles;
}

const std::string& borderSetName(const Level& level, const TileLayerGrid& layer, bool mainLayer) {
    if (mainLayer) return level.fillers.borders;
    switch (std::int32_t(layer.depth)) {
    case 0: return level.fillers.foreground;
    case 1: return level.fillers.midground;
    default: return level.fillers.background;
    }
}

void applyOrientation(Quad& quad, std::uint16_t word) {
    Vertex* v = quad.vertices;
    if (word & TileWord::MirrorX) {
        std::swap(v[0].u, v[2].u);
        std::swap(v[1].u, v[3].u);
    }
    if (word & TileWord::MirrorY) {
        std::swap(v[0].v, v[1].v);
        std::swap(v[2].v, v[3].v);
    }
    if (word & TileWord::QuarterTurn) {
        const float u0 = v[0].u, v0 = v[0].v;
        v[0].u = v[1].u, v[0].v = v[1].v;
        v[1].u = v[3].u, v[1].v = v[3].v;
        v[3].u = v[2].u, v[3].v = v[2].v;
        v[2].u = u0, v[2].v = v0;
    }
}

void drawPiece(WorldQuads& quads, const OverlayRecord& piece, float x, float y) {
    Quad& quad = quads.claim(*piece.texture);
    quad = piece.quad;
    for (Vertex& vertex : quad.vertices) {
        vertex.x += x;
        vertex.y += y;
    }
}

// The cell tests of the three fringe passes, over the main layer.
class FringeRules {
public:
    explicit FringeRules(const Level& level) : m_level(level), m_layer(level.mainLayer()) {}

    const TileType* type(std::int32_t cell) const { return typeOf(m_level, m_layer.tiles[std::size_t(cell)]); }
    bool revealed(std::int32_t cell) const { return isCellRevealed(m_level, cell); }
    bool heavy(std::int32_t cell) const {
        const TileType* t = type(cell);
        return revealed(cell) && hiddenType(t) && weightOf(t) > 0;
    }
    bool light(std::int32_t cell) const {
        const TileType* t = type(cell);
        return revealed(cell) && hiddenType(t) && weightOf(t) <= 0;
    }
    bool overlaid(std::int32_t cell) const {
        const TileType* t = type(cell);
        return revealed(cell) && t && !t->secondEdgeTexture.empty();
    }
    bool plainHeavy(std::int32_t cell) const {
        const TileType* t = type(cell);
        return revealed(cell) && t && t->secondEdgeTexture.empty() && hiddenType(t) && weightOf(t) > 0;
    }

private:
    const Level& m_level;
    const TileLayerGrid& m_layer;
};

template <class Drawn, class Edge, class Corner>
void fringePass(WorldQuads& quads, const Level& level, const std::vector<FringeSet>& sets, const CellRect& cells,
                float cellSize, Drawn drawn, Edge edge, Corner corner) {
    const TileLayerGrid& layer = level.mainLayer();
    const std::int32_t width = layer.width;
    const std::int32_t height = layer.height;
    for (std::int32_t k = cells.row; k < cells.row + cells.rows; ++k) {
        for (std::int32_t i = cells.column; i < cells.column + cells.columns; ++i) {
            const std::int32_t c = k * width + i;
            if (!drawn(c)) continue;
            const std::size_t type = TileWord::typeIndex(layer.tiles[std::size_t(c)]);
            if (type >= sets.size() || !sets[type].present) continue;
            const bool up = k > 0 && edge(c - width);
            const bool left = i > 0 && edge(c - 1);
            const bool right = i < width - 1 && edge(c + 1);
            const bool down = k < height - 1 && edge(c + width);
            const bool upLeft = i > 0 && k > 0 && corner(c - width - 1);
            const bool upRight = k > 0 && i < width - 1 && corner(c - width + 1);
            const bool shown[FringeSet::PieceCount] = {up, left, right, down,
                                                       up && upLeft, up && upRight, left && upLeft, right && upRight};
            for (int piece = 0; piece < FringeSet::PieceCount; ++piece) {
                const OverlayRecord& record = sets[type].pieces[std::size_t(piece)];
                if (shown[piece] && record.texture) drawPiece(quads, record, float(i) * cellSize, float(k) * cellSize);
            }
        }
    }
}

void drawFringes(WorldQuads& quads, const Level& level, const TileLayerRecords& records, const CellRect& cells,
                 float cellSize) {
    const FringeRules rules(level);
    fringePass(quads, level, records.overlaySets, cells, cellSize,
               [&](std::int32_t c) { return rules.overlaid(c); }, [&](std::int32_t n) { return rules.plainHeavy(n); },
               [&](std::int32_t n) { return rules.overlaid(n); });
    fringePass(quads, level, records.edgeSets, cells, cellSize, [&](std::int32_t c) { return rules.heavy(c); },
               [&](std::int32_t n) { return !rules.revealed(n); }, [&](std::int32_t n) { return rules.heavy(n); });
    fringePass(quads, level, records.edgeSets, cells, cellSize, [&](std::int32_t c) { return rules.light(c); },
               [&](std::int32_t n) { return !rules.light(n); }, [&](std::int32_t n) { return rules.light(n); });
}

void drawResources(WorldQuads& quads, const Level& level, const TileLayerRecords& records, const CellRect& cells,
                   float cellSize) {
    const TileLayerGrid& layer = level.mainLayer();
    for (std::int32_t k = cells.row; k < cells.row + cells.rows; ++k) {
        for (std::int32_t i = cells.column; i < cells.column + cells.columns; ++i) {
            const std::int32_t c = k * layer.width + i;
            if (!(layer.tiles[std::size_t(c)] & TileWord::HasCellRecord)) continue;
            const auto found = level.cellRecords.find(c);
            if (found == level.cellRecords.end() || found->second.resourceIndex == 0) continue;
            // A resource number beyond the records (a changed registry) shows nothing.
            const std::size_t resource = std::size_t(std::uint32_t(found->second.resourceIndex) - 1u);
            if (resource >= records.resources.size()) continue;
            const OverlayRecord* overlay = &records.resources[resource];
            if (!overlay->texture) {
                if (records.veins.empty()) continue;
                overlay = &records.veins[veinHash(std::uint32_t(i), std::uint32_t(k)) % records.veins.size()];
            }
            drawPiece(quads, *overlay, float(i) * cellSize, float(k) * cellSize);
        }
    }
}

} // namespace

CellRect visibleCells(const TileLayerGrid& layer, const fpRect& view, float virtualWidth, std::int32_t margin,
                      bool clamp) {
    const float z = levelDepthToZ(layer.depth, virtualWidth);
    const float e = (z + 1.0f) * z / 2.0f;
    const float h = 40.0f * float(layer.scale);
    std::int32_t firstColumn = std::int32_t(std::floor((view.x - view.w * e) / h)) - margin;
    std::int32_t lastColumn = std::int32_t(std::floor((view.x + view.w * (e + 1.0f)) / h)) + margin + 1;
    std::int32_t firstRow = std::int32_t(std::floor((view.y - view.h * e) / h)) - margin;
    std::int32_t lastRow = std::int32_t(std::floor((view.y + view.h * (e + 1.0f)) / h)) + margin + 1;
    if (clamp) {
        firstColumn = std::min(std::max(firstColumn, 0), layer.width);
        lastColumn = std::min(std::max(lastColumn, 0), layer.width);
        firstRow = std::min(std::max(firstRow, 0), layer.height);
        lastRow = std::min(std::max(lastRow, 0), layer.height);
    }
    return {std::min(firstColumn, lastColumn), std::min(firstRow, lastRow), std::abs(lastColumn - firstColumn),
            std::abs(lastRow - firstRow)};
}

bool isCellRevealed(const Level& level, std::int32_t cell) {
    const std::uint8_t flags = gridFlags(level, cell);
    if (flags & TileBits::Solid) return true;
    if (flags & TileBits::Seen) return false;
    return (level.mainLayer().tiles[std::size_t(cell)] & TileWord::NotPresent) != 0;
}

std::uint16_t shownTileWord(const Level& level, std::int32_t cell) {
    const std::uint16_t word = level.mainLayer().tiles[std::size_t(cell)];
    if (isCellRevealed(level, cell)) return word;
    return hiddenType(typeOf(level, word)) ? 0 : word;
}

std::uint32_t veinHash(std::uint32_t column, std::uint32_t row) {
    const std::uint32_t a = column + 0x9E3779B9u;
    return a ^ (row + 0x9E3779B9u + (a << 6) + (a >> 2));
}

void drawTileLayer(WorldQuads& quads, const Level& level, const TileLayerGrid& layer,
                   const TileLayerRecords& records, const TileLayerView& view) {
    const bool mainLayer = &layer == &level.mainLayer();
    const bool shown = mainLayer;  // the main layer hides unexplored cells
    const bool bordered = !mainLayer || level.bordersDontClampCamera;
    const std::vector<std::uint16_t>* border = bordered ? &borderTiles(level, borderSetName(level, layer, mainLayer))
                                                        : nullptr;
    const float z = levelDepthToZ(layer.depth, view.virtualWidth);
    const float s = float(layer.scale) * 40.0f * view.viewUnit;
    const CellRect cells = visibleCells(layer, view.view, view.virtualWidth, 0, false);
    for (std::int32_t row = cells.row; row < cells.row + cells.rows; ++row) {
        for (std::int32_t column = cells.column; column < cells.column + cells.columns; ++column) {
            const std::uint32_t index = std::uint32_t(row) * std::uint32_t(layer.width) + std::uint32_t(column);
            std::uint16_t word = 0;
            if (std::uint32_t(column) < std::uint32_t(layer.width) && std::uint32_t(row) < std::uint32_t(layer.height))
                word = shown ? shownTileWord(level, std::int32_t(index)) : layer.tiles[index];
            else if (border && !border->empty())
                word = (*border)[index % border->size()];
            else if (border)
                continue;
            const std::size_t type = TileWord::typeIndex(word);
            if (type >= records.tiles.size() || !records.tiles[type].texture) continue;
            const TileRecord& tile = records.tiles[type];
            const float x0 = float(column) * s, y0 = float(row) * s;
            const float x1 = float(column + 1) * s, y1 = float(row + 1) * s;
            Quad& quad = quads.claim(*tile.texture);
            quad.vertices[0] = {x0, y0, z, White, tile.left, tile.top};
            quad.vertices[1] = {x0, y1, z, White, tile.left, tile.bottom};
            quad.vertices[2] = {x1, y0, z, White, tile.right, tile.top};
            quad.vertices[3] = {x1, y1, z, White, tile.right, tile.bottom};
            applyOrientation(quad, word);
        }
    }
    if (!mainLayer) return;
    const float cellSize = 40.0f * view.viewUnit;
    drawFringes(quads, level, records, visibleCells(layer, view.view, view.virtualWidth, 1, true), cellSize);
    drawResources(quads, level, records, visibleCells(layer, view.view, view.virtualWidth, 0, true), cellSize);
}

} // namespace zor::presentation
