#pragma once
// Collision shapes. Every physical body carries one; shapes are pooled (in the locked
// pools, as the entities) and shared through intrusive pointers, and a shape is deleted
// when its last reference goes (the count is not locked: one thread at a time, as for the
// entities). Only the rectangle moves with its body; the tile
// map and the level bounds are fixed, and the oriented box is a probe for queries.
//
// Whether two shapes touch is asked through the pair-test table (ShapePairTests.h); the
// broadphase only reads the shapes' bounds.

#include "game/world/PersistentTileMap.h"

#include "Framework/core/math/Rect.h"
#include "Framework/core/memory/PooledObject.h"

#include <boost/intrusive_ptr.hpp>

#include <cstdint>
#include <memory>

namespace zor {

// The type codes index the pair-test table.
enum class ShapeType : std::int32_t { Rect = 0, TileMap = 1, Bounds = 2, OrientedBox = 3 };
constexpr std::int32_t ShapeTypeCount = 4;

class AbstractShape : public LockedPooledObject {
public:
    AbstractShape(const AbstractShape&) = delete;
    AbstractShape& operator=(const AbstractShape&) = delete;
    virtual ~AbstractShape() = default;

    // The axis-aligned bounding rectangle in level space.
    virtual fpRect getBounds() const = 0;
    // Moves the shape with its body; shapes fixed in the level ignore it.
    virtual void setPosition(const fpVector2&) {}

    ShapeType type() const { return m_type; }

protected:
    explicit AbstractShape(ShapeType type) : m_type(type) {}

private:
    friend void intrusive_ptr_add_ref(AbstractShape* shape) { ++shape->m_refCount; }
    friend void intrusive_ptr_release(AbstractShape* shape) {
        if (--shape->m_refCount < 1) delete shape;
    }

    ShapeType m_type;
    std::int32_t m_refCount = 0;
};

using ShapePtr = boost::intrusive_ptr<AbstractShape>;

// A rectangle placed relative to its body's position.
class RectShape final : public AbstractShape {
public:
    // `sweepMove` selects the swept form of the rectangle's pair tests: the rectangle stops
    // where it first touches, instead of being judged at the end of its move.
    RectShape(const fpRect& rectangle, bool sweepMove)
        : AbstractShape(ShapeType::Rect), sweepMove(sweepMove), rect(rectangle) {}

    fpRect getBounds() const override { return {position.x + rect.x, position.y + rect.y, rect.w, rect.h}; }
    void setPosition(const fpVector2& p) override { position = p; }

    bool sweepMove;
    fpRect rect;
    fpVector2 position;
};

// The level's byte grid as a shape: a cell whose byte has the solid bit is a 40 x 40 block.
// The grid is shared, never copied, so the tests always see the current solid bits (digging
// and regrowth change them while the level runs).
class TileMapShape final : public AbstractShape {
public:
    // The grid must not be null.
    explicit TileMapShape(std::shared_ptr<PersistentTileMap> grid);

    // (0, 0, width x 40, height x 40).
    fpRect getBounds() const override;

    const PersistentTileMap& grid() const { return *m_grid; }

private:
    std::shared_ptr<PersistentTileMap> m_grid;
};

// The level's bounding rectangle; it keeps the rectangles that test against it inside.
class BoundsShape final : public AbstractShape {
public:
    explicit BoundsShape(const fpRect& rectangle) : AbstractShape(ShapeType::Bounds), rect(rectangle) {}

    fpRect getBounds() const override { return rect; }

    fpRect rect;
};

// A parallelogram probe: a corner and the two edges that leave it (not necessarily
// perpendicular). Its bounds are computed once, here.
class OBBShape final : public AbstractShape {
public:
    OBBShape(const fpVector2& edge1, const fpVector2& edge2, const fpVector2& origin);

    fpRect getBounds() const override { return bounds; }

    fpVector2 origin;
    fpVector2 edge1;
    fpVector2 edge2;
    fpRect bounds;
};

} // namespace zor
