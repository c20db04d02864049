#include "Framework/system/surface/AbstractSurface.h"

#include <utility>

namespace zor {

AbstractSurface::AbstractSurface(const iRect& area) : m_area(area) {}

AbstractSurface::~AbstractSurface() {
    while (!m_children.empty()) m_children.pop_front();
}

bool AbstractSurface::handleInput(InputState& input) {
    for (const std::unique_ptr<AbstractSurface>& child : m_children)
        if (child->handleInput(input)) return true;
    return false;
}

void AbstractSurface::setArea(const iRect& area) { m_area = area; }

void AbstractSurface::update(const UpdateRecord&) {}

void AbstractSurface::render() {}

void AbstractSurface::addChild(std::unique_ptr<AbstractSurface> child) { m_children.push_back(std::move(child)); }

} // namespace zor
