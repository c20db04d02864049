#include "game/world/physics/CellSystem.h"

#include "game/world/SharedConstants.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zor {
namespace {

constexpr float LargestFloat = std::numeric_limits<float>::max();

bool overlapsStrictly(const fpRect& a, const fpRect& b) {
    return a.x < b.x + b.w && a.y < b.y + b.h && b.x < a.x + a.w && b.y < a.y + a.h;
}

// A float cell index clamped into [low, high] before it becomes an integer; NaN gives low.
std::int32_t clampedIndex(float index, std::int32_t low, std::int32_t high) {
    if (!(index >= float(low))) return low;
    if (index > float(high)) return high;
    return std::int32_t(index);
}

// floor(index) clamped into [low, high], without the library's floor: this runs for every
// search and registration. NaN gives low.
std::int32_t floorIndex(float index, std::int32_t low, std::int32_t high) {
    if (!(index >= float(low))) return low;
    if (index >= float(high)) return high;
    const std::int32_t truncated = std::int32_t(index);
    return float(truncated) > index ? truncated - 1 : truncated;
}

void eraseFirst(std::vector<CellObject*>& list, const CellObject* body) {
    const auto found = std::find(list.begin(), list.end(), body);
    if (found != list.end()) list.erase(found);
}

bool holds(const CellSystem::Cell& cell, std::int32_t layer, const CellObject* body) {
    const auto& list = cell.groupLists[std::size_t(layer)];
    return std::find(list.begin(), list.end(), body) != list.end();
}

fpVector2 centreOf(const fpRect& rect) { return {rect.x + rect.w / 2.0f, rect.y + rect.h / 2.0f}; }

} // namespace

std::int32_t cellLayerOf(std::uint32_t group) { return group == 0 ? -1 : 31 - __builtin_clz(group); }

CellSystem::CellSystem(const fpRect& world, const fpVector2& cellSize)
    : m_cellSize(cellSize),
      m_columns(std::max(std::int32_t((world.w + cellSize.x - 1.0f) / cellSize.x), 0)),
      m_rows(std::max(std::int32_t((world.h + cellSize.y - 1.0f) / cellSize.y), 0)),
      m_gridRect(world.x, world.y, float(m_columns) * cellSize.x, float(m_rows) * cellSize.y),
      m_largeSize(std::min(cellSize.x, cellSize.y) / 2.0f),
      m_cells(std::size_t(m_columns) * std::size_t(m_rows)),
      m_cellsSwitch(physicsDebugSwitches().cells) {
    for (std::int32_t row = 0; row < m_rows; ++row)
        for (std::int32_t column = 0; column < m_columns; ++column) {
            Cell& cell = cellAt(column, row);
            cell.column = column;
            cell.row = row;
            cell.rect = {float(column) * cellSize.x + world.x, float(row) * cellSize.y + world.y, cellSize.x,
                         cellSize.y};
        }
    m_outsideCell.rect = {-LargestFloat, -LargestFloat, LargestFloat, LargestFloat};
}

CellRange CellSystem::cellRange(const fpRect& rect) const {
    const float firstColumn = (rect.x - m_gridRect.x) / m_cellSize.x;
    const float firstRow = (rect.y - m_gridRect.y) / m_cellSize.y;
    const float lastColumn = (rect.x + rect.w - m_gridRect.x) / m_cellSize.x;
    const float lastRow = (rect.y + rect.h - m_gridRect.y) / m_cellSize.y;
    CellRange range;
    if (std::isnan(firstColumn) || std::isnan(firstRow) || std::isnan(lastColumn) || std::isnan(lastRow)) {
        range.outside = true;
        return range;
    }
    // One cell beyond the grid on either side decides the same as any further one.
    const std::int32_t c0 = floorIndex(firstColumn, -1, m_columns);
    const std::int32_t r0 = floorIndex(firstRow, -1, m_rows);
    const std::int32_t c1 = floorIndex(lastColumn, -1, m_columns);
    const std::int32_t r1 = floorIndex(lastRow, -1, m_rows);

    range.column = c0;
    range.row = r0;
    range.columns = c1 - c0 + 1;
    range.rows = r1 - r0 + 1;
    if (c0 < 0) {
        range.columns += c0;
        range.column = 0;
        range.outside = true;
    }
    if (r0 < 0) {
        range.rows += r0;
        range.row = 0;
        range.outside = true;
    }
    if (range.column + range.columns > m_columns) {
        range.columns = m_columns - range.column;
        range.outside = true;
    }
    if (range.row + range.rows > m_rows) {
        range.rows = m_rows - range.row;
        range.outside = true;
    }
    return range;
}

bool CellSystem::isLarge(const fpRect& bounds) const { return std::max(bounds.w, bounds.h) >= m_largeSize; }

template <class Visit>
void CellSystem::forEachCell(const CellRange& range, Visit visit) {
    for (std::int32_t row = range.row; row < range.row + range.rows; ++row)
        for (std::int32_t column = range.column; column < range.column + range.columns; ++column)
            visit(cellAt(column, row));
    if (range.outside) visit(m_outsideCell);
}

void CellSystem::update(CellObject& body) {
    const std::int32_t layer = cellLayerOf(body.group);
    if (layer < 0 || layer >= CellGroupListCount) return;
    const fpRect bounds = body.getBounds();
    const bool large = isLarge(bounds);
    const fpVector2 centre = centreOf(bounds);
    const CellRange range = cellRange(large ? bounds : fpRect(centre.x, centre.y, 0.0f, 0.0f));
    if (!large) m_maxSmallSize = std::max(m_maxSmallSize, std::max(bounds.w, bounds.h));
    if (range == body.m_cellRange) return;

    if (!body.m_cellRange.isZero()) remove(body);
    forEachCell(range, [&](Cell& cell) {
        cell.groupLists[std::size_t(layer)].push_back(&body);
        cell.occupied |= 1u << layer;
    });
    body.m_cellRange = range;
}

void CellSystem::remove(CellObject& body) {
    const std::int32_t layer = cellLayerOf(body.group);
    if (layer >= 0 && layer < CellGroupListCount) {
        forEachCell(body.m_cellRange, [&](Cell& cell) {
            auto& list = cell.groupLists[std::size_t(layer)];
            eraseFirst(list, &body);
            if (list.empty()) cell.occupied &= ~(1u << layer);
        });
    }
    body.m_cellRange = CellRange();
}

std::int32_t CellSystem::query(std::vector<CellObject*>& out, const fpRect& rect, std::uint32_t mask) const {
    const float widen = m_maxSmallSize / 2.0f;
    const CellRange range =
        cellRange({rect.x - widen, rect.y - widen, rect.w + 2.0f * widen, rect.h + 2.0f * widen});
    std::int32_t count = 0;
    mask &= CellGroupBits;
    if (mask != 0) {
        for (std::int32_t row = range.row; row < range.row + range.rows; ++row)
            for (std::int32_t column = range.column; column < range.column + range.columns; ++column)
                count += queryCell(cell(column, row), rect, mask, out);
        if (range.outside) count += queryCell(m_outsideCell, rect, mask, out);
    }
    if (m_canvas && m_cellsSwitch.load(std::memory_order_relaxed))
        m_canvas->outline(rect, redColor());
    return count;
}

std::int32_t CellSystem::queryCell(const Cell& cell, const fpRect& rect, std::uint32_t mask,
                                   std::vector<CellObject*>& out) const {
    std::int32_t count = 0;
    for (std::uint32_t layers = mask & cell.occupied; layers != 0; layers &= layers - 1) {
        for (CellObject* body : cell.groupLists[std::size_t(__builtin_ctz(layers))]) {
            const fpRect bounds = body->getBounds();
            if (!overlapsStrictly(bounds, rect)) continue;
            if (isLarge(bounds) && std::find(out.begin(), out.end(), body) != out.end()) continue;
            out.push_back(body);
            ++count;
        }
    }
    return count;
}

void CellSystem::debugDraw(const fpRect& view) const {
    if (!m_canvas || !m_cellsSwitch.load(std::memory_order_relaxed)) return;
    m_canvas->grid(m_gridRect, m_cellSize, PackedColor::fromChannels(0, 100, 0, 200));
    const std::int32_t firstColumn =
        clampedIndex(std::ceil((view.x - m_gridRect.x) / m_cellSize.x) - 1.0f, 0, m_columns);
    const std::int32_t endColumn =
        clampedIndex(std::ceil((view.x + view.w - m_gridRect.x) / m_cellSize.x), 0, m_columns);
    const std::int32_t firstRow = clampedIndex(std::ceil((view.y - m_gridRect.y) / m_cellSize.y) - 1.0f, 0, m_rows);
    const std::int32_t endRow =
        clampedIndex(std::ceil((view.y + view.h - m_gridRect.y) / m_cellSize.y), 0, m_rows);
    for (std::int32_t row = firstRow; row < endRow; ++row)
        for (std::int32_t column = firstColumn; column < endColumn; ++column) drawCellBodies(cell(column, row));
}

void CellSystem::drawCellBodies(const Cell& here) const {
    const PackedColor outlineColor = PackedColor::fromChannels(0, 200, 0, 200);
    const PackedColor lineColor = PackedColor::fromChannels(0, 120, 0, 120);
    const std::int32_t firstColumn = std::max(here.column - 1, 0);
    const std::int32_t lastColumn = std::min(here.column + 1, m_columns - 1);
    const std::int32_t firstRow = std::max(here.row - 1, 0);
    const std::int32_t lastRow = std::min(here.row + 1, m_rows - 1);
    for (std::int32_t layer = 0; layer < CellGroupListCount; ++layer) {
        for (const CellObject* body : here.groupLists[std::size_t(layer)]) {
            const fpRect bounds = body->getBounds();
            const fpVector2 centre = centreOf(bounds);
            if (!isLarge(bounds)) {
                m_canvas->outline(bounds, outlineColor);
                m_canvas->line(centre, centreOf(here.rect), lineColor);
                continue;
            }
            // The inside of a large body's range draws nothing: only cells at its rim do.
            bool atRim = false;
            for (std::int32_t row = firstRow; row <= lastRow && !atRim; ++row)
                for (std::int32_t column = firstColumn; column <= lastColumn && !atRim; ++column)
                    atRim = !holds(cell(column, row), layer, body);
            if (!atRim) continue;
            m_canvas->outline(bounds, outlineColor);
            for (std::int32_t row = firstRow; row <= lastRow; ++row)
                for (std::int32_t column = firstColumn; column <= lastColumn; ++column)
                    if (holds(cell(column, row), layer, body))
                        m_canvas->line(centre, centreOf(cell(column, row).rect), lineColor);
        }
    }
}

} // namespace zor
