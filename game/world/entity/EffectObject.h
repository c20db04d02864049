#pragma once
// A visual effect played once from its definition, with an optional linked light.

#include "game/world/entity/Entity.h"

namespace zor {

struct EffectDefinition;

class EffectObject final : public Entity {
public:
    // Definitions live for the whole run.
    explicit EffectObject(const EffectDefinition& definition)
        : Entity(EntityType::Effect), definition(&definition) {}

    const EffectDefinition* definition;
    std::int32_t lightId = 0;  // 0: no linked light
    // Set by the presentation when the effect has nothing more to show.
    bool finished = false;
    float scaleX = 1.0f;
    float scaleY = 1.0f;
    float rotation = 0.0f;  // radians
};

} // namespace zor
