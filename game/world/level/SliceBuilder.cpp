// LevelBuilder::buildSlice: the fixed order of the passes over one slice, and the passes
// that shape terrain without patches.

#include <algorithm>

#include "Framework/core/math/IRandomizer.h"
#include "game/world/SharedConstants.h"
#include "game/world/level/LevelBuilder.h"
#include "game/world/level/LevelMath.h"
#include "game/world/level/PatchLibraryTables.h"
#include "game/world/level/SliceShapes.h"

namespace zor {

namespace {

constexpr std::int32_t kBorderPhaseRange = 1000000;

} // namespace

void LevelBuilder::buildSlice(std::size_t index) {
    const SlicePlacement& placement = m_slicePlacements[index];
    m_currentSlice = placement.slice;
    addCameraClamps(placement);
    const PatchCatalogue catalogue = makeCatalogue();
    m_sliceRect = iRect(placement.x, placement.y, m_currentSlice->width, m_currentSlice->height);
    m_innerRect = m_sliceRect;
    takeBorderTiles();
    m_freeRun.reset(m_innerRect.w, m_innerRect.h, fillers().spacing);
    m_search.failedSizes.clear();
    paintFields(true);
    for (auto list = catalogue.solid.rbegin(); list != catalogue.solid.rend(); ++list)
        placePatchList(list->second, true);
    rebuildFreeRunForDecorations();
    m_search.failedSizes.clear();
    for (auto list = catalogue.decoration.rbegin(); list != catalogue.decoration.rend(); ++list)
        placePatchList(list->second, false);
    placeFillerPatches(catalogue.fillers);
    if (!m_borderTiles.empty()) paintBorders();
    paintFields(false);
    fillLayers();
    updateByteGrid();
    placeSliceResources();
    placeDensityResources();
}

void LevelBuilder::addCameraClamps(const SlicePlacement& placement) {
    const float left = 40.0f * float(placement.x);
    const float top = 40.0f * float(placement.y);
    for (const SliceClamp& clamp : m_currentSlice->clamps)
        m_level->cameraClamps.emplace_back(left + clamp.start.x, top + clamp.start.y, left + clamp.end.x,
                                           top + clamp.end.y);
}

// The indestructible solid tiles of the borders' tile set; the inner rectangle loses the
// borders, down to nothing when they are wider than the slice.
void LevelBuilder::takeBorderTiles() {
    m_borderTiles.clear();
    const FillerSettings& settings = fillers();
    if (settings.borders.empty()) return;
    for (std::uint16_t tile : m_sources.library->findTileSet(settings.borders).tiles) {
        const TileType& type = tileTypeOf(tile);
        if (type.isSolid() && type.requiredTier < 1) m_borderTiles.push_back(tile);
    }
    m_innerRect.x += settings.borderWidth;
    m_innerRect.w = std::max(m_innerRect.w - 2 * settings.borderWidth, 0);
    m_innerRect.y += settings.borderHeight;
    m_innerRect.h = std::max(m_innerRect.h - 2 * settings.borderHeight, 0);
}

// Early fields (hard ones and carving ones) paint over anything before the patches; the
// soft ones fill what is still unpainted afterwards.
void LevelBuilder::paintFields(bool early) {
    for (const FillerField& field : fillers().fields)
        if ((field.hard || field.tileset.empty()) == early) paintField(field, early);
}

void LevelBuilder::paintField(const FillerField& field, bool early) {
    const iRect r = field.withinBorders ? m_innerRect : m_sliceRect;
    const FieldMask mask = drawFieldMask(field, r, *m_randomizer, m_legacy);
    const float offset = m_randomizer->nextFloatRange(0.0f, 100.0f);
    const std::vector<std::uint16_t>& tiles = m_sources.library->findTileSet(field.tileset).tiles;
    TileLayerGrid& layer = m_level->mainLayer();
    for (std::int32_t y = r.y; y < r.y + r.h; ++y)
        for (std::int32_t x = r.x; x < r.x + r.w; ++x) {
            if (!layer.contains(x, y) || !fieldCovers(field, r, mask, offset, x, y)) continue;
            std::uint16_t& word = layer.at(x, y);
            if (!early && word != TileWord::Unpainted) continue;
            word = tiles.empty() ? TileWord::Carved : tiles[drawIndex(*m_randomizer, tiles.size())];
            if (field.hard) m_freeRun.markOccupied(x - m_innerRect.x, y - m_innerRect.y, 1, 1);
        }
}

// Decorations may go anywhere in the slice, borders included, where no layer above the
// main one holds a tile yet.
void LevelBuilder::rebuildFreeRunForDecorations() {
    m_innerRect = m_sliceRect;
    const std::vector<TileLayerGrid>& layers = m_level->layers;
    m_freeRun.rebuild(m_innerRect.w, m_innerRect.h, [&](std::int32_t column, std::int32_t row) {
        const std::int32_t x = m_innerRect.x + column;
        const std::int32_t y = m_innerRect.y + row;
        for (std::size_t i = 1; i < layers.size(); ++i) {
            const TileLayerGrid& layer = layers[i];
            const std::int32_t lx = x / layer.scale;
            const std::int32_t ly = y / layer.scale;
            if (layer.contains(lx, ly) && layer.at(lx, ly) != TileWord::Unpainted) return true;
        }
        return false;
    });
}

void LevelBuilder::paintBorders() {
    const FillerSettings& settings = fillers();
    const std::int64_t p1 = m_randomizer->nextIntRange(0, kBorderPhaseRange);
    std::int64_t p2 = m_randomizer->nextIntRange(0, kBorderPhaseRange);
    if (settings.borderSymmetric) p2 = p1;
    TileLayerGrid& layer = m_level->mainLayer();
    const auto paint = [&](std::int64_t x, std::int32_t y) {
        if (layer.contains(std::int32_t(x), y))
            overwriteMainTile(std::int32_t(x), y, m_borderTiles[drawIndex(*m_randomizer, m_borderTiles.size())]);
    };
    const std::int64_t left = m_sliceRect.x;
    const std::int64_t right = std::int64_t(m_sliceRect.x) + m_sliceRect.w - 1;
    for (std::int32_t y = m_sliceRect.y; y < m_sliceRect.y + m_sliceRect.h; ++y) {
        const std::int32_t wl =
            borderWidthAt(settings.borderStyle, settings.borderWidth, settings.borderStyleValueA, p1 + y);
        const std::int32_t wr =
            borderWidthAt(settings.borderStyle, settings.borderWidth, settings.borderStyleValueA, p2 + y);
        for (std::int64_t i = 0; i < wl; ++i) paint(left + i, y);
        for (std::int64_t i = 0; i < wr; ++i) paint(right - i, y);
    }
}

// Unpainted cells of the slice's rows take fill tiles (border tiles beside a narrower
// slice in layer 0); carved cells become empty.
void LevelBuilder::fillLayers() {
    const FillerSettings& settings = fillers();
    for (std::size_t i = 0; i < m_level->layers.size(); ++i) {
        TileLayerGrid& layer = m_level->layers[i];
        const std::string& setName = i == 0 ? settings.foreground : (i == 1 ? settings.midground : settings.background);
        const std::vector<std::uint16_t>& named = m_sources.library->findTileSet(setName).tiles;
        const std::vector<std::uint16_t>& fill = named.empty() ? defaultTileList : named;
        const std::int32_t s = layer.scale;
        const std::int32_t firstRow = m_sliceRect.y / s;
        const std::int32_t endRow = std::min(firstRow + m_sliceRect.h / s, layer.height);
        for (std::int32_t row = firstRow; row < endRow; ++row)
            for (std::int32_t column = 0; column < layer.width; ++column) {
                std::uint16_t& word = layer.at(column, row);
                if (word == TileWord::Carved) {
                    word = 0;
                    continue;
                }
                if (word != TileWord::Unpainted) continue;
                const bool besideSlice = column < m_sliceRect.x || column >= m_sliceRect.x + m_sliceRect.w;
                if (i == 0 && besideSlice && !m_borderTiles.empty()) {
                    word = m_borderTiles[drawIndex(*m_randomizer, m_borderTiles.size())];
                    continue;
                }
                word = fill[drawIndex(*m_randomizer, fill.size())];
                if (i == 0 && m_level->resetEarth) setPresent(column, row, true);
            }
    }
}

// Solid cells are present (indestructible and regrowing ones always come back; dug ones
// stay dug) and no longer seen when they came back; other cells are not present.
void LevelBuilder::updateByteGrid() {
    const TileLayerGrid& layer = m_level->mainLayer();
    PersistentTileMap& grid = *m_level->tileMap;
    const std::int32_t endRow = std::min({m_sliceRect.y + m_sliceRect.h, layer.height, grid.height()});
    const std::int32_t width = std::min(layer.width, grid.width());
    for (std::int32_t row = std::max(m_sliceRect.y, 0); row < endRow; ++row)
        for (std::int32_t column = 0; column < width; ++column) {
            const std::uint16_t word = layer.at(column, row);
            const TileType& type = tileTypeOf(word);
            std::uint8_t& cell = *grid.cell(column, row);
            const std::uint8_t presentAndSeen = TileBits::Solid | TileBits::Seen;
            if (!type.isSolid())
                cell &= std::uint8_t(~TileBits::Solid);
            else if ((type.requiredTier < 1 && !(word & TileWord::NotPresent)) || type.has(TileType::Regrows))
                cell = TileBits::Solid;
            else if ((cell & presentAndSeen) == presentAndSeen)
                cell &= std::uint8_t(~TileBits::Seen);
        }
}

// A resource embedded in the tile goes with it: its record would be left without a tile
// that marks it, and could never be dug out.
void LevelBuilder::overwriteMainTile(std::int32_t column, std::int32_t row, std::uint16_t word) {
    std::uint16_t& tile = m_level->mainLayer().at(column, row);
    if (tile != TileWord::Unpainted && (tile & TileWord::HasCellRecord))
        m_level->cellRecords.erase(m_level->cellIndex(column, row));
    tile = word;
}

const TileType& LevelBuilder::tileTypeOf(std::uint16_t word) const {
    static const TileType kNoType;
    const std::vector<TileType>& types = m_sources.library->tileTypes;
    const std::size_t index = TileWord::typeIndex(word);
    return index < types.size() ? types[index] : kNoType;
}

bool LevelBuilder::isDiggable(std::int32_t column, std::int32_t row) const {
    const TileLayerGrid& layer = m_level->mainLayer();
    if (!layer.contains(column, row)) return false;
    const TileType& type = tileTypeOf(layer.at(column, row));
    return type.isSolid() && type.requiredTier > 0;
}

bool LevelBuilder::inByteGrid(std::int32_t column, std::int32_t row) const {
    const PersistentTileMap& grid = *m_level->tileMap;
    return column >= 0 && row >= 0 && column < grid.width() && row < grid.height();
}

void LevelBuilder::setPresent(std::int32_t column, std::int32_t row, bool present) {
    if (!inByteGrid(column, row)) return;
    std::uint8_t& cell = *m_level->tileMap->cell(column, row);
    cell = present ? std::uint8_t(cell | TileBits::Solid) : std::uint8_t(cell & ~TileBits::Solid);
}

std::int32_t LevelBuilder::innerArea() const { return m_innerRect.w * m_innerRect.h; }

} // namespace zor
