#pragma once
// A level exit: a trigger area that leads to where its exit record names.

#include "game/world/entity/Entity.h"
#include "game/world/physics/PhysicalObject.h"

namespace zor {

struct PatchExit;

class ExitObject final : public Entity {
public:
    // The record is the level's and outlives the exit.
    explicit ExitObject(const PatchExit* link) : Entity(EntityType::Exit), link(link) {
        physicalObject.ownerEntity = this;
    }

    fpVector2 getPosition() const override { return physicalObject.position(); }
    void setPosition(const fpVector2& position) override { physicalObject.setPosition(position); }

    PhysicalObject physicalObject;
    const PatchExit* link;
};

} // namespace zor
