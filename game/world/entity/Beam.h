#pragma once
// A beam or laser segment carried by a game object: from its position along its direction
// for its length. The simulation recomputes it while its update is pending.

#include "game/definitions/BeamDefinition.h"
#include "game/world/entity/Entity.h"
#include "game/world/physics/PhysicalObject.h"

#include <memory>

namespace zor {

class Beam final : public Entity {
public:
    // Definitions live for the whole run.
    explicit Beam(const BeamDefinition& definition)
        : Entity(EntityType::Beam),
          length(definition.range),
          fadeTimer(definition.fadeTime),
          fadeTime(definition.fadeTime),
          definition(&definition) {}

    bool updatePending = true;
    std::int32_t ownerId = 0;  // the game object carrying the beam
    float angle = 0.0f;        // radians
    // Counts down; at 0 the beam deals its damage and the interval is added.
    float damageTimer = 0.0f;
    float length;  // shortened to the first thing the beam hits
    fpVector2 direction{0.0f, 1.0f};
    // Once set, the fade timer runs down and the beam is removed at 0.
    bool fading = false;
    float fadeTimer;
    float fadeTime;
    const BeamDefinition* definition;
    // Pooled; present for beams that take part in the physics.
    std::unique_ptr<PhysicalObject> physicalObject;
};

} // namespace zor
