#pragma once
// Everything that is updated, drawn and offered input as a unit: game states, full-screen
// menus, screens, panels, debug menus. A surface owns its children and offers them input
// in list order.

#include "Framework/core/math/Rect.h"

#include <list>
#include <memory>

namespace zor {

class InputState;
struct UpdateRecord;

class AbstractSurface {
public:
    using Children = std::list<std::unique_ptr<AbstractSurface>>;

    explicit AbstractSurface(const iRect& area = iRect());
    // Deletes the children in list order.
    virtual ~AbstractSurface() = 0;
    AbstractSurface(const AbstractSurface&) = delete;
    AbstractSurface& operator=(const AbstractSurface&) = delete;

    // Offers the input to each child in order; true at the first child that takes it.
    virtual bool handleInput(InputState& input);
    virtual void setArea(const iRect& area);
    virtual void update(const UpdateRecord& record);
    virtual void render();

    const iRect& area() const { return m_area; }
    void addChild(std::unique_ptr<AbstractSurface> child);
    const Children& children() const { return m_children; }

protected:
    iRect m_area;  // in virtual screen units
    Children m_children;
};

} // namespace zor
