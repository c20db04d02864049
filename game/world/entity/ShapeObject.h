#pragma once
// A solid or trigger rectangle placed by the level; it stands where its physical object is.

#include "game/world/entity/Entity.h"
#include "game/world/physics/PhysicalObject.h"

#include <string>

namespace zor {

class ShapeObject final : public Entity {
public:
    explicit ShapeObject(std::int32_t shapeKind) : Entity(EntityType::Shape), shapeKind(shapeKind) {
        physicalObject.ownerEntity = this;
    }

    fpVector2 getPosition() const override { return physicalObject.position(); }
    void setPosition(const fpVector2& position) override { physicalObject.setPosition(position); }

    std::string name;
    std::int32_t shapeKind;
    PhysicalObject physicalObject;
    // Set when a game object touched the shape in this step; the scripts clear it.
    bool activated = false;
};

} // namespace zor
