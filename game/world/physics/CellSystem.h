#pragma once
// The broadphase of the physics: a uniform grid of cells over the level rectangle in which
// every registered body is listed by its collision group, so that sweeps and queries only
// look at the bodies near a rectangle and in the groups they ask for.
//
// A body is large when the longer side of its bounds is at least half the shorter cell side
// (128 pixels with the physics' 256-pixel cells): it is listed in every cell its bounds
// overlap. A small body is listed only in the cell holding the centre of its bounds, and
// queries widen their rectangle by half the largest small body ever seen (`maxSmallSize`,
// which never shrinks) to find it from the neighbouring cells. Bodies reaching outside the
// grid are also listed in one outside cell, searched by every query that reaches outside.
//
// Groups are single bits 0 to 18, one list per bit; a body with several bits is filed under
// the highest. A body whose group has no bit below 19 is never listed, and mask bits 19 to
// 31 find nothing.
//
// Lists keep registration order and queries walk cells row by row from the top, columns from
// the left, lists by ascending bit: results come in a fixed order, never a hash order.
// Nothing is allocated once the lists and the caller's output have grown.

#include "game/world/physics/PhysicsDebugCanvas.h"

#include "Framework/core/debug/DebugFlags.h"
#include "Framework/core/math/Rect.h"
#include "Framework/core/math/Vector.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace zor {

// The cells a body is listed in. All zero: not listed.
struct CellRange {
    std::int32_t column = 0;
    std::int32_t row = 0;
    // Counts; zero or below for a range that covers no grid cell.
    std::int32_t columns = 0;
    std::int32_t rows = 0;
    // The range also reaches outside the grid.
    bool outside = false;

    bool isZero() const { return columns == 0 && rows == 0 && !outside && column == 0 && row == 0; }
};

inline bool operator==(const CellRange& a, const CellRange& b) {
    return a.column == b.column && a.row == b.row && a.columns == b.columns && a.rows == b.rows &&
           a.outside == b.outside;
}
inline bool operator!=(const CellRange& a, const CellRange& b) { return !(a == b); }

// Anything listed in the cells. Only the cell system writes the range a body is listed
// under; a copy starts unlisted, so a copied body never claims another's registration.
class CellObject {
public:
    // Level-space bounds.
    virtual fpRect getBounds() const = 0;

    // The collision group, one bit; 0 is never listed.
    std::uint32_t group = 0;

    const CellRange& cellRange() const { return m_cellRange; }

protected:
    CellObject() = default;
    CellObject(const CellObject& other) : group(other.group) {}
    CellObject& operator=(const CellObject& other) {
        group = other.group;
        return *this;
    }
    ~CellObject() = default;

private:
    friend class CellSystem;
    CellRange m_cellRange;
};

// Bits 0 to 18 are groups with lists of their own.
constexpr std::int32_t CellGroupListCount = 19;
constexpr std::uint32_t CellGroupBits = (1u << CellGroupListCount) - 1u;

// The list a group is filed under: the index of its highest set bit; -1 for group 0. A
// result of 19 or more means the group cannot be listed.
std::int32_t cellLayerOf(std::uint32_t group);

class CellSystem {
public:
    struct Cell {
        std::int32_t column = -1;  // -1 for the outside cell
        std::int32_t row = -1;
        fpRect rect;
        // List k holds the bodies filed under bit k, in registration order.
        std::array<std::vector<CellObject*>, CellGroupListCount> groupLists;
        // Bit k set while list k is not empty.
        std::uint32_t occupied = 0;
    };

    // A grid of ceil(world size / cell size) cells from the world's corner; lists empty.
    CellSystem(const fpRect& world, const fpVector2& cellSize);
    CellSystem(const CellSystem&) = delete;
    CellSystem& operator=(const CellSystem&) = delete;

    // The cells a rectangle covers: from the cell holding its top-left corner to the cell
    // holding its bottom-right corner (an edge exactly on a boundary covers the next cell
    // too), clipped to the grid, `outside` set when clipped. NaN or infinite rectangles give
    // the outside cell alone.
    CellRange cellRange(const fpRect& rect) const;

    // Lists the body, or moves it after it moved; nothing when its range is unchanged, and
    // nothing for a group that cannot be listed (0, or no bit below 19).
    void update(CellObject& body);
    // Takes the body out of every list it is in and marks it unlisted.
    void remove(CellObject& body);

    // Appends the listed bodies of the masked groups whose bounds overlap the rectangle
    // strictly (touching edges do not count), each large body once even when the output
    // already held it; returns how many it appended. The output is not cleared.
    std::int32_t query(std::vector<CellObject*>& out, const fpRect& rect, std::uint32_t mask) const;

    // Under the switch "cells": the grid, and every body of the cells in view with lines to
    // the cells that list it.
    void debugDraw(const fpRect& view) const;
    // Null draws nothing.
    void setDebugCanvas(std::shared_ptr<PhysicsDebugCanvas> canvas) { m_canvas = std::move(canvas); }

    std::int32_t columns() const { return m_columns; }
    std::int32_t rows() const { return m_rows; }
    const fpRect& gridRect() const { return m_gridRect; }
    float maxSmallSize() const { return m_maxSmallSize; }
    // The grid cell, which must exist.
    const Cell& cell(std::int32_t column, std::int32_t row) const {
        return m_cells[std::size_t(row) * std::size_t(m_columns) + std::size_t(column)];
    }
    const Cell& outsideCell() const { return m_outsideCell; }

private:
    Cell& cellAt(std::int32_t column, std::int32_t row) {
        return m_cells[std::size_t(row) * std::size_t(m_columns) + std::size_t(column)];
    }
    bool isLarge(const fpRect& bounds) const;
    template <class Visit>
    void forEachCell(const CellRange& range, Visit visit);
    std::int32_t queryCell(const Cell& cell, const fpRect& rect, std::uint32_t mask,
                           std::vector<CellObject*>& out) const;
    void drawCellBodies(const Cell& cell) const;

    fpVector2 m_cellSize;
    std::int32_t m_columns;
    std::int32_t m_rows;
    fpRect m_gridRect;
    float m_largeSize;
    float m_maxSmallSize = 0.0f;
    std::vector<Cell> m_cells;  // row-major
    Cell m_outsideCell;
    std::shared_ptr<PhysicsDebugCanvas> m_canvas;
    DebugFlag& m_cellsSwitch;
};

} // namespace zor
