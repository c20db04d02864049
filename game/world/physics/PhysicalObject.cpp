#include "game/world/physics/PhysicalObject.h"

#include <utility>

namespace zor {

void PhysicalObject::addBody(PhysicalBody body) {
    body.owner = this;
    body.shape->setPosition(m_position);
    m_bodies.push_back(std::move(body));
}

void PhysicalObject::setPosition(const fpVector2& position) {
    m_position = position;
    for (PhysicalBody& body : m_bodies) body.shape->setPosition(position);
}

fpRect PhysicalObject::getBounds() const {
    if (m_bodies.empty()) return fpRect();
    fpRect bounds = m_bodies.front().getBounds();
    for (std::size_t i = 1; i < m_bodies.size(); ++i) bounds.unite(m_bodies[i].getBounds());
    return bounds;
}

} // namespace zor
