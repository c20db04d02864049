#include "game/world/level/PatchPositionSearch.h"

#include <algorithm>

#include "Framework/core/math/IRandomizer.h"
#include "game/world/level/FreeRunGrid.h"
#include "game/world/level/Level.h"
#include "game/world/level/LevelMath.h"
#include "game/world/level/TileType.h"

namespace zor {

namespace {

const std::vector<iVector2> kNoSizes;

// The positions the random tries draw from: cols x rows cells `step` apart from (c0, r0).
struct SearchGrid {
    std::int64_t c0 = 0;
    std::int64_t r0 = 0;
    std::int64_t cols = 0;
    std::int64_t rows = 0;
    std::int64_t step = 1;

    // One draw; k picks column k mod cols and row k / cols.
    iVector2 draw(IRandomizer& randomizer) const {
        const std::int64_t k = randomizer.nextIntBelow(std::int32_t(std::uint32_t(rows * cols)));
        return {std::int32_t(c0 + (k % cols) * step), std::int32_t(r0 + (k / cols) * step)};
    }
};

std::int64_t alignment(std::int32_t start, std::int32_t step) {
    const std::int64_t rest = ((std::int64_t(start) % step) + step) % step;
    return rest == 0 ? 0 : step - rest;
}

// Every footprint cell of layer 0 holds what the patch needs: carved, or unpainted.
bool onRequiredCells(const PlacementArea& area, iVector2 position, iVector2 size, const PatchSet::Patch& patch) {
    for (std::int64_t dy = 0; dy < size.y; ++dy)
        for (std::int64_t dx = 0; dx < size.x; ++dx) {
            const std::int64_t column = std::int64_t(area.innerRect.x) + position.x + dx;
            const std::int64_t row = std::int64_t(area.innerRect.y) + position.y + dy;
            if (!area.mainLayer.contains(std::int32_t(column), std::int32_t(row))) return false;
            const std::uint16_t word = area.mainLayer.at(std::int32_t(column), std::int32_t(row));
            if (patch.onCarvedOnly && word != TileWord::Carved) return false;
            if (patch.onUnpaintedOnly && word != TileWord::Unpainted) return false;
        }
    return true;
}

// Every row of the footprint has a run of at least its width at the column; rows outside
// the grid are blocked.
bool fitsFreeRuns(const FreeRunGrid& grid, iVector2 position, iVector2 size) {
    for (std::int64_t row = position.y; row < std::int64_t(position.y) + size.y; ++row)
        if (!grid.contains(position.x, row) || grid.at(position.x, row) < size.x) return false;
    return true;
}

} // namespace

bool FailedSizes::covers(std::int32_t step, std::int32_t width, std::int32_t height) const {
    for (const iVector2& failed : of(step))
        if (width >= failed.x && height >= failed.y) return true;
    return false;
}

void FailedSizes::record(std::int32_t step, std::int32_t width, std::int32_t height) {
    std::vector<iVector2>& sizes = m_sizes[step];
    sizes.erase(std::remove_if(sizes.begin(), sizes.end(),
                               [&](const iVector2& failed) { return failed.x >= width && failed.y >= height; }),
                sizes.end());
    sizes.push_back({width, height});
}

const std::vector<iVector2>& FailedSizes::of(std::int32_t step) const {
    const auto found = m_sizes.find(step);
    return found == m_sizes.end() ? kNoSizes : found->second;
}

std::optional<iVector2> PatchPositionSearch::find(const PlacementArea& area, iVector2 size,
                                                  const PatchSet::Patch& patch, IRandomizer& randomizer) {
    const std::int32_t step = std::max(patch.step, 1);
    const std::int64_t w = size.x;
    const std::int64_t h = size.y;
    if (failedSizes.covers(step, size.x, size.y)) return std::nullopt;

    const iRect& inner = area.innerRect;
    SearchGrid grid;
    grid.step = step;
    grid.c0 = alignment(inner.x, step);
    grid.r0 = alignment(inner.y, step);
    grid.cols = (inner.w - w - grid.c0 + 1) / step;
    grid.rows = (inner.h - h - grid.r0 + 1) / step;
    const bool oneFixed = patch.fixedCoordinates() == 1;
    if (oneFixed && patch.fixedX != -1) {
        grid.c0 = std::int64_t(patch.fixedX) + area.sliceRect.x - inner.x;
        grid.cols = 1;
    } else if (oneFixed) {
        grid.r0 = std::int64_t(patch.fixedY) + area.sliceRect.y - inner.y;
        grid.rows = 1;
    }
    // A footprint without height has no tries (the formula would divide by zero).
    const std::int64_t tries = h == 0 ? 0 : 2 * grid.cols * (w + grid.rows - 1) / h;

    if (patch.onCarvedOnly || patch.onUnpaintedOnly) {
        for (std::int64_t i = 0; i < tries; ++i) {
            const iVector2 position = grid.draw(randomizer);
            if (onRequiredCells(area, position, size, patch)) return position;
        }
        return std::nullopt;
    }
    for (std::int64_t i = 0; i < tries; ++i) {
        const iVector2 position = grid.draw(randomizer);
        if (fitsFreeRuns(area.freeRun, position, size)) return position;
    }

    m_candidateCells.clear();
    const std::int64_t rowEnd = std::min<std::int64_t>(inner.h, grid.r0 + step * (grid.rows - 1) + h);
    for (std::int64_t column = grid.c0; column < grid.c0 + grid.cols * step; column += step) {
        std::int64_t lastBlocked = grid.r0 - 1;
        for (std::int64_t row = grid.r0; row < rowEnd; ++row) {
            if (!area.freeRun.contains(column, row) || area.freeRun.at(column, row) < w)
                lastBlocked = row;
            else if (row - lastBlocked >= h && (row - h + 1) % step == 0)
                m_candidateCells.push_back((row - h + 1) * inner.w + column);
        }
    }
    if (!m_candidateCells.empty()) {
        const std::int64_t cell = m_candidateCells[drawIndex(randomizer, m_candidateCells.size())];
        return iVector2(std::int32_t(cell % inner.w), std::int32_t(cell / inner.w));
    }
    if (!oneFixed) failedSizes.record(step, size.x, size.y);
    return std::nullopt;
}

} // namespace zor

