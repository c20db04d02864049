#include "game/simulation/LightSimulator.h"

#include "game/world/PersistentTileMap.h"
#include "game/world/World.h"
#include "game/world/level/TileType.h"

#include "Framework/graphics/screen/Screen.h"
#include "Framework/system/surface/UpdateRecord.h"

#include <algorithm>
#include <cmath>

namespace zor {

namespace {

// The program's, see resetSecretAnnouncement.
float secretCooldown = 0.0f;

// Far beyond any grid, yet safe to add and halve without overflow.
constexpr double FarCells = 1.0e9;

// A whole number of cells as an index; NaN and huge values lie far outside any grid.
std::int64_t cellIndex(double wholeCells) {
    if (std::isnan(wholeCells)) return std::int64_t(-FarCells);
    return std::int64_t(std::clamp(wholeCells, -FarCells, FarCells));
}

// Columns [firstColumn, endColumn) and rows [firstRow, endRow) of the grid.
struct CellWindow {
    std::int32_t firstColumn = 0;
    std::int32_t endColumn = 0;
    std::int32_t firstRow = 0;
    std::int32_t endRow = 0;

    bool empty() const { return endColumn <= firstColumn || endRow <= firstRow; }
};

std::int32_t clampedTo(std::int64_t value, std::int32_t size) {
    return std::int32_t(std::clamp<std::int64_t>(value, 0, size));
}

// The cells around the view's centre that the main viewport's virtual size spans, plus
// the height's worth of cells on each axis, so a moving camera finds its edges lit.
CellWindow windowAround(const fpRect& view, const PersistentTileMap& grid) {
    const std::vector<Screen::Viewport>& viewports = Screen::viewports();
    if (viewports.empty()) return {};
    const double width = viewports.front().virtualWidth;
    const double height = viewports.front().virtualHeight;
    const std::int64_t extra = cellIndex(std::trunc(height / TileSize));
    const std::int64_t spanColumns = cellIndex(std::trunc(width)) / std::int64_t(TileSize) + extra;
    const std::int64_t spanRows = cellIndex(std::trunc(height)) / std::int64_t(TileSize) + extra;
    const std::int64_t centreColumn = cellIndex(std::trunc((double(view.x) + view.w / 2.0) / TileSize));
    const std::int64_t centreRow = cellIndex(std::trunc((double(view.y) + view.h / 2.0) / TileSize));
    CellWindow window;
    window.firstColumn = clampedTo(centreColumn - spanColumns / 2, grid.width());
    window.endColumn = clampedTo(centreColumn + spanColumns / 2, grid.width());
    window.firstRow = clampedTo(centreRow - spanRows / 2, grid.height());
    window.endRow = clampedTo(centreRow + spanRows / 2, grid.height());
    return window;
}

// The cell holding the centre of the player's first body, when it lies inside the grid and
// is open. Rounded down, so a player just outside the grid is outside it.
void markPlayerCell(const World& world, PersistentTileMap& grid) {
    const ActorObject* player = world.player();
    if (!player || player->physicalObject.bodies().empty()) return;
    const fpRect bounds = player->physicalObject.bodies().front().getBounds();
    const std::int64_t column = cellIndex(std::floor((double(bounds.x) + bounds.w / 2.0) / TileSize));
    const std::int64_t row = cellIndex(std::floor((double(bounds.y) + bounds.h / 2.0) / TileSize));
    if (column < 0 || row < 0 || column >= grid.width() || row >= grid.height()) return;
    std::uint8_t& cell = *grid.cell(std::int32_t(column), std::int32_t(row));
    if (!(cell & TileBits::Solid)) cell |= TileBits::Seen;
}

// The four sweeps; true when one of them revealed a secret.
bool sweep(PersistentTileMap& grid, const TileLayerGrid& tiles, const CellWindow& window) {
    bool secret = false;
    const auto seenAt = [&](std::int32_t column, std::int32_t row) {
        return (*grid.cell(column, row) & TileBits::Seen) != 0;
    };
    for (std::int32_t row = window.firstRow; row < window.endRow; ++row) {
        bool seen = seenAt(window.firstColumn, row);
        for (std::int32_t column = window.firstColumn + 1; column < window.endColumn; ++column)
            secret |= markCellSeen(grid, row, seen, column, tiles);
        seen = seenAt(window.endColumn - 1, row);
        for (std::int32_t column = window.endColumn - 2; column >= window.firstColumn; --column)
            secret |= markCellSeen(grid, row, seen, column, tiles);
    }
    for (std::int32_t column = window.firstColumn; column < window.endColumn; ++column) {
        bool seen = seenAt(column, window.firstRow);
        for (std::int32_t row = window.firstRow + 1; row < window.endRow; ++row)
            secret |= markCellSeen(grid, row, seen, column, tiles);
        seen = seenAt(column, window.endRow - 1);
        for (std::int32_t row = window.endRow - 2; row >= window.firstRow; --row)
            secret |= markCellSeen(grid, row, seen, column, tiles);
    }
    return secret;
}

} // namespace

void LightSimulator::resetSecretAnnouncement() { secretCooldown = 0.0f; }

void LightSimulator::update(const UpdateRecord& record) {
    if (secretCooldown > 0.0f) secretCooldown -= record.stepLength;
    Level* level = m_world.level.get();
    if (!level || level->layers.empty() || !level->tileMap) return;
    PersistentTileMap& grid = *level->tileMap;
    const CellWindow window = windowAround(m_world.camera.visibleRect, grid);
    if (window.empty()) return;

    markPlayerCell(m_world, grid);
    if (!sweep(grid, level->mainLayer(), window)) return;
    if (secretCooldown > 0.0f) return;
    secretCooldown = SecretCooldown;
    // Last: a handler may change the level.
    secretFound.fireNoArgs();
}

bool markCellSeen(PersistentTileMap& grid, std::int32_t row, bool& seen, std::int32_t column,
                  const TileLayerGrid& tiles) {
    std::uint8_t& cell = *grid.cell(column, row);
    if (!seen || (cell & TileBits::Solid)) {
        seen = (cell & TileBits::Seen) != 0;
        return false;
    }
    if (cell & TileBits::Seen) return false;
    cell |= TileBits::Seen;
    return tiles.contains(column, row) && (tiles.at(column, row) & TileWord::NotPresent) != 0;
}

} // namespace zor
