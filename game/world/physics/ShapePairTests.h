#pragma once
// The pair tests: whether a moving or probing shape touches another, and where a moving
// rectangle first touches it. They are looked up in `shapePairTests` by the two shapes'
// type codes. The first shape is always a RectShape (or an OBBShape probe); the tile map
// and the level bounds are only ever the second.
//
// The table is empty until installShapePairTests() fills it, once at start-up (tests call
// it themselves). A pair without a test (a tile map as the first shape, a box against the
// tile map ...) throws std::logic_error naming the two types: the gameplay never builds
// such pairs, so meeting one is a programming error that must not pass unseen.

#include "game/world/physics/Shapes.h"

#include "Framework/core/math/Rect.h"
#include "Framework/core/math/Vector.h"

namespace zor {

// The question and the answer of one pair test. The caller sets `move` and `sweepBounds`
// and leaves the rest as constructed.
struct ShapeTest {
    // The displacement of the first shape; zero for static queries.
    fpVector2 move;
    // The first shape's bounds united with those bounds moved by `move`; for a static
    // query the first shape's bounds.
    fpRect sweepBounds;

    // Set when the shapes touch.
    bool hit = false;
    // How far the first shape travels along `move` before the contact; 0 for a contact
    // at the start.
    float distance = 0.0f;
    // How deep the first shape, moved by the whole move, sinks into the other; 0 when not
    // computed (the swept tile-map test never computes it).
    float depth = 0.0f;
    // Out of the second shape towards the first; zero when the test gives none (a contact
    // at the start, the box tests).
    fpVector2 normal;
};

// True when the shapes touch; fills the answer fields of the record.
using ShapePairTest = bool (*)(const AbstractShape& first, const AbstractShape& second, ShapeTest& test);

// [first shape's type][second shape's type]. Read only after installShapePairTests().
extern ShapePairTest shapePairTests[ShapeTypeCount][ShapeTypeCount];

// Fills the five entries: rectangle against rectangle, tile map, bounds and box, and box
// against rectangle. Calling it again changes nothing.
void installShapePairTests();

// The table entry for the two shapes, called.
inline bool testShapePair(const AbstractShape& first, const AbstractShape& second, ShapeTest& test) {
    return shapePairTests[std::int32_t(first.type())][std::int32_t(second.type())](first, second, test);
}

// The tests themselves. Their exact rules (the swept helpers of Sweep.h, rectPenetration
// of Collision.h) decide normals and distances:
//
// Rectangle against rectangle: a non-swept rectangle whose end position overlaps the other
// strictly hits at distance 0; otherwise the rectangle is swept, and stops at the first
// contact with the face normal. On a hit, `depth` is the penetration of the end position
// and, when the sweep gave no normal, the normal pushes the end position out.
bool testRectRect(const AbstractShape& first, const AbstractShape& second, ShapeTest& test);
// Rectangle against the tile map (cells visited row by row from the top, left to right).
// Non-swept: the first solid cell under the end position decides, at distance 0, with the
// push-out normal. Swept: the nearest contact over every solid cell under `sweepBounds`
// (the earlier cell on a tie), with the face normal; a cell overlapped at the start is met
// at distance 0 with the start position's push-out normal. No depth.
bool testRectTileMap(const AbstractShape& first, const AbstractShape& second, ShapeTest& test);
// Rectangle against the level bounds, which keep it inside: a rectangle not wholly inside
// touches at distance 0 with no normal; one whose move would leave stops at the border.
bool testRectBounds(const AbstractShape& first, const AbstractShape& second, ShapeTest& test);
// Static overlap of a rectangle and a box along the box's two edges; `move` is ignored and
// nothing but `hit` is answered. The rectangle's own axes are left to the broadphase, which
// only offers bodies whose bounds overlap the box's.
bool testRectOBB(const AbstractShape& first, const AbstractShape& second, ShapeTest& test);
bool testOBBRect(const AbstractShape& first, const AbstractShape& second, ShapeTest& test);

} // namespace zor
