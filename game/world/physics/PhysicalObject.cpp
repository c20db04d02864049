#include "game/world/physics/PhysicalObject.h"

#include <utility>

namespace zor {

PhysicalObject::~PhysicalObject() { leaveCellSystem(); }

void PhysicalObject::addBody(PhysicalBody body) {
    // The cells hold the bodies' addresses, which growing the list may change.
    const std::shared_ptr<CellSystem> cellSystem = m_cellSystem;
    leaveCellSystem();
    body.owner = this;
    body.shape->setPosition(m_position);
    m_bodies.push_back(std::move(body));
    if (cellSystem) enterCellSystem(cellSystem);
}

void PhysicalObject::setPosition(const fpVector2& position) {
    m_position = position;
    for (PhysicalBody& body : m_bodies) body.shape->setPosition(position);
    registerBodies();
}

void PhysicalObject::registerBodies() {
    if (!m_cellSystem) return;
    for (PhysicalBody& body : m_bodies)
        if (body.group != 0) m_cellSystem->update(body);
}

void PhysicalObject::regroupBodies(std::uint32_t group, std::uint32_t mask) {
    // The cells list a body under its group, so it leaves them before the group changes.
    const std::shared_ptr<CellSystem> cellSystem = m_cellSystem;
    leaveCellSystem();
    for (PhysicalBody& body : m_bodies) {
        body.group = group;
        body.mask = mask;
    }
    if (cellSystem) enterCellSystem(cellSystem);
}

void PhysicalObject::setBodyRect(std::size_t index, const fpRect& rectangle) {
    if (index >= m_bodies.size() || m_bodies[index].shape->type() != ShapeType::Rect) return;
    PhysicalBody& body = m_bodies[index];
    auto& shape = static_cast<RectShape&>(*body.shape);
    shape.rect = rectangle;
    shape.setPosition(m_position);
    if (m_cellSystem && body.group != 0) m_cellSystem->update(body);
}

fpRect PhysicalObject::getBounds() const {
    if (m_bodies.empty()) return fpRect();
    fpRect bounds = m_bodies.front().getBounds();
    for (std::size_t i = 1; i < m_bodies.size(); ++i) bounds.unite(m_bodies[i].getBounds());
    return bounds;
}

void PhysicalObject::enterCellSystem(std::shared_ptr<CellSystem> cellSystem) {
    if (m_cellSystem != cellSystem) leaveCellSystem();
    m_cellSystem = std::move(cellSystem);
    registerBodies();
}

void PhysicalObject::leaveCellSystem() {
    if (!m_cellSystem) return;
    for (PhysicalBody& body : m_bodies)
        if (!body.cellRange().isZero()) m_cellSystem->remove(body);
    m_cellSystem.reset();
}

} // namespace zor
