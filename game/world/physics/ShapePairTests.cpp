#include "game/world/physics/ShapePairTests.h"

#include "Framework/core/math/Collision.h"
#include "Framework/core/math/Sweep.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>

namespace zor {
namespace {

bool missingPairTest(const AbstractShape& first, const AbstractShape& second, ShapeTest&) {
    throw std::logic_error("No pair test for a shape of type " + std::to_string(std::int32_t(first.type())) +
                           " against one of type " + std::to_string(std::int32_t(second.type())));
}

bool overlapsStrictly(const fpRect& a, const fpRect& b) {
    return a.x + a.w > b.x && a.y + a.h > b.y && b.x + b.w > a.x && b.y + b.h > a.y;
}

// The corners of the rectangle, projected on the edge from the box's origin, straddle the
// edge's extent [0, edge . edge].
bool overlapsAlong(const fpVector2& edge, const fpVector2& origin, const fpRect& rect) {
    const fpVector2 corners[] = {
        {rect.x, rect.y}, {rect.right(), rect.y}, {rect.x, rect.bottom()}, {rect.right(), rect.bottom()}};
    float lowest = std::numeric_limits<float>::max();
    float highest = std::numeric_limits<float>::lowest();
    for (const fpVector2& corner : corners) {
        const float projection = edge.dot(corner - origin);
        lowest = std::min(lowest, projection);
        highest = std::max(highest, projection);
    }
    return highest > 0.0f && lowest < edge.dot(edge);
}

// The depth of the end position in the other rectangle and, when no normal was found
// before, the direction that pushes it out.
void recordPenetration(const fpRect& end, const fpRect& other, ShapeTest& test) {
    fpVector2 penetration;
    if (!rectPenetration(end, other, penetration)) return;
    test.depth = penetration.length();
    if (test.normal.isZero()) test.normal = -penetration.normalized();
}

// The cells a span [low, low + extent] of one axis reaches on a grid of `count` cells: from
// trunc(low / 40) to trunc((ceil(low + extent) - 1) / 40), truncating towards zero as the
// level's tile code does (so a span ending exactly on a cell boundary stops before the next
// cell), clipped to the grid. The floats are clamped two cells beyond the grid before any
// conversion, which decides the same as any further value, so that a NaN or huge span
// finds no cell instead of overflowing.
struct CellSpan {
    std::int32_t first = 0;
    std::int32_t last = -1;
};

CellSpan cellSpan(float low, float extent, std::int32_t count) {
    const float start = low / TileSize;
    const float end = low + extent;
    if (std::isnan(start) || std::isnan(end)) return {};
    const std::int32_t first = std::int32_t(std::clamp(start, -2.0f, float(count + 1)));
    const float clampedEnd = std::clamp(end, -2.0f * TileSize, float(count + 1) * TileSize);
    std::int32_t ceiling = std::int32_t(clampedEnd);
    if (float(ceiling) < clampedEnd) ++ceiling;
    const std::int32_t last = (ceiling - 1) / std::int32_t(TileSize);
    const CellSpan span{std::max(first, 0), std::min(last, count - 1)};
    return span.first <= span.last ? span : CellSpan();
}

fpRect cellRectangle(std::int32_t column, std::int32_t row) {
    return {float(column) * TileSize, float(row) * TileSize, TileSize, TileSize};
}

// Calls visit(column, row) for every solid cell under the rectangle, rows from the top and
// columns from the left, until it returns true; true when one did.
template <class Visit>
bool visitSolidCells(const PersistentTileMap& grid, const fpRect& rect, Visit visit) {
    const CellSpan columns = cellSpan(rect.x, rect.w, grid.width());
    const CellSpan rows = cellSpan(rect.y, rect.h, grid.height());
    if (columns.first > columns.last) return false;
    for (std::int32_t row = rows.first; row <= rows.last; ++row) {
        const std::uint8_t* cell = grid.cell(columns.first, row);
        for (std::int32_t column = columns.first; column <= columns.last; ++column, ++cell)
            if ((*cell & TileBits::Solid) && visit(column, row)) return true;
    }
    return false;
}

} // namespace

// Every entry starts as the loud failure (constant-initialised, so before any code runs),
// so that a missing installation or a pair nobody tests cannot pass for "no contact".
ShapePairTest shapePairTests[ShapeTypeCount][ShapeTypeCount] = {
    {&missingPairTest, &missingPairTest, &missingPairTest, &missingPairTest},
    {&missingPairTest, &missingPairTest, &missingPairTest, &missingPairTest},
    {&missingPairTest, &missingPairTest, &missingPairTest, &missingPairTest},
    {&missingPairTest, &missingPairTest, &missingPairTest, &missingPairTest},
};

void installShapePairTests() {
    const auto rect = std::int32_t(ShapeType::Rect);
    const auto box = std::int32_t(ShapeType::OrientedBox);
    shapePairTests[rect][rect] = &testRectRect;
    shapePairTests[rect][std::int32_t(ShapeType::TileMap)] = &testRectTileMap;
    shapePairTests[rect][std::int32_t(ShapeType::Bounds)] = &testRectBounds;
    shapePairTests[rect][box] = &testRectOBB;
    shapePairTests[box][rect] = &testOBBRect;
}

bool testRectRect(const AbstractShape& first, const AbstractShape& second, ShapeTest& test) {
    const auto& mover = static_cast<const RectShape&>(first);
    const fpRect start = mover.getBounds();
    const fpRect other = second.getBounds();
    const fpRect end(start.x + test.move.x, start.y + test.move.y, start.w, start.h);

    fpVector2 contact = start.position();
    if (mover.sweepMove || !overlapsStrictly(end, other)) {
        fpRect swept = start;
        if (sweepRect(start.position() + test.move, swept, other, test.normal)) return false;
        contact = swept.position();
    }
    recordPenetration(end, other, test);
    test.distance = (contact - start.position()).length();
    test.hit = true;
    return true;
}

bool testRectTileMap(const AbstractShape& first, const AbstractShape& second, ShapeTest& test) {
    const auto& mover = static_cast<const RectShape&>(first);
    const PersistentTileMap& grid = static_cast<const TileMapShape&>(second).grid();
    const fpRect start = mover.getBounds();

    if (!mover.sweepMove) {
        const fpRect end(start.x + test.move.x, start.y + test.move.y, start.w, start.h);
        test.hit = visitSolidCells(grid, end, [&](std::int32_t column, std::int32_t row) {
            recordPenetration(end, cellRectangle(column, row), test);
            return true;
        });
        return test.hit;
    }

    // The candidate normal carries over from cell to cell, as the sweep only writes it
    // when it finds one. A cell the rectangle already overlaps is met at the start and
    // pushed out of along its shallowest side: deep in a level the 0.001 px contact gap is
    // below float resolution, and a rectangle left a hair inside a ceiling must not stay
    // stuck there with no normal (or another cell's).
    const fpVector2 target = start.position() + test.move;
    fpVector2 candidate;
    float best = std::numeric_limits<float>::max();
    visitSolidCells(grid, test.sweepBounds, [&](std::int32_t column, std::int32_t row) {
        const fpRect cell = cellRectangle(column, row);
        fpRect swept = start;
        fpVector2 penetration;
        if (rectPenetration(start, cell, penetration))
            candidate = -penetration.normalized();
        else if (sweepRect(target, swept, cell, candidate))
            return false;
        const fpVector2 travel = swept.position() - start.position();
        const float squared = travel.dot(travel);
        if (squared < best) {
            best = squared;
            test.normal = candidate;
            test.hit = true;
        }
        return false;
    });
    if (test.hit) test.distance = std::sqrt(best);
    return test.hit;
}

bool testRectBounds(const AbstractShape& first, const AbstractShape& second, ShapeTest& test) {
    const fpRect a = first.getBounds();
    const fpRect b = second.getBounds();
    const bool inside = b.x <= a.x && a.x + a.w <= b.x + b.w && b.y <= a.y && a.y + a.h <= b.y + b.h;
    if (!inside) {
        test.hit = true;
        return true;
    }

    const float dx = test.move.x;
    const float dy = test.move.y;
    float travel = 1.0f;
    if (a.x + dx < b.x) {
        test.normal = {1.0f, 0.0f};
        travel = (b.x - a.x) / dx;
    } else if (a.x + dx + a.w > b.x + b.w) {
        test.normal = {-1.0f, 0.0f};
        travel = (b.x + b.w - (a.x + a.w)) / dx;
    }
    if (a.y + dy < b.y) {
        const float v = (b.y - a.y) / dy;
        if (travel > v) {
            test.normal = {0.0f, 1.0f};
            travel = v;
        }
    } else if (a.y + dy + a.h > b.y + b.h) {
        const float v = (b.y + b.h - (a.y + a.h)) / dy;
        if (travel > v) {
            test.normal = {0.0f, -1.0f};
            travel = v;
        }
    }
    if (travel < 1.0f) {
        test.hit = true;
        test.distance = travel * test.move.length();
    }
    return test.hit;
}

bool testRectOBB(const AbstractShape& first, const AbstractShape& second, ShapeTest& test) {
    const fpRect rect = first.getBounds();
    const auto& box = static_cast<const OBBShape&>(second);
    test.hit = overlapsAlong(box.edge1, box.origin, rect) && overlapsAlong(box.edge2, box.origin, rect);
    return test.hit;
}

bool testOBBRect(const AbstractShape& first, const AbstractShape& second, ShapeTest& test) {
    return testRectOBB(second, first, test);
}

} // namespace zor
