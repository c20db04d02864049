#pragma once
// Collision shapes. Every physical body carries one; shapes are pooled and shared through
// intrusive pointers, and a shape is deleted when its last reference goes. Only the
// rectangle moves with its body; the other kinds (the tile map, the level bounds, the
// probe box) arrive with the physics.

#include "Framework/core/math/Rect.h"
#include "Framework/core/memory/PooledObject.h"

#include <boost/intrusive_ptr.hpp>

#include <cstdint>

namespace zor {

enum class ShapeType : std::int32_t { Rect = 0, TileMap = 1, Bounds = 2, OrientedBox = 3 };

class AbstractShape : public PooledObject {
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
class RectShape : public AbstractShape {
public:
    // `sweepMove` selects the swept form of the rectangle's pair tests.
    RectShape(const fpRect& rectangle, bool sweepMove)
        : AbstractShape(ShapeType::Rect), sweepMove(sweepMove), rect(rectangle) {}

    fpRect getBounds() const override { return {position.x + rect.x, position.y + rect.y, rect.w, rect.h}; }
    void setPosition(const fpVector2& p) override { position = p; }

    bool sweepMove;
    fpRect rect;
    fpVector2 position;
};

} // namespace zor
