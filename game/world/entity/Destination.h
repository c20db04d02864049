#pragma once
// A quest target marker. The quest tracker refreshes the remaining time of a marker it
// still wants, so one it stops refreshing is removed half a second later.

#include "game/world/entity/Entity.h"

namespace zor {

class Destination final : public Entity {
public:
    Destination() : Entity(EntityType::Destination) {}

    // The four times also animate the marker's appearing and vanishing on the map, so
    // value is a time like the others.
    bool shown = true;
    float remainingTime = 0.0f;  // seconds
    float secondTime = 0.0f;     // seconds
    float countdown = 0.0f;      // seconds
    float value = 0.0f;          // seconds
};

} // namespace zor
