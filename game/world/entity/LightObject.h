#pragma once
// A point light; its fields mirror the light record of the definitions.

#include "Framework/core/math/Color.h"
#include "game/world/entity/Entity.h"

#include <string>

namespace zor {

class LightObject final : public Entity {
public:
    LightObject() : Entity(EntityType::Light) {}

    std::string sprite;
    float scale = 1.0f;
    // From the thing the light follows, kept beside the position.
    fpVector2 offset;
    bool loop = true;
    Color3 color{1.0f, 1.0f, 1.0f};
    float strength = 1.0f;
    // Set by the presentation when a light that does not loop has played out.
    bool finished = false;
};

} // namespace zor
