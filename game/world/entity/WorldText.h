#pragma once
// Text floating in the world, optionally with an icon; a timed text is removed when its
// time runs out and fades over the last part of it.

#include "game/world/entity/Entity.h"

#include <string>

namespace zor {

class WorldText final : public Entity {
public:
    // The time a caller adds to the remaining time for the default display time.
    static constexpr float StandardExtraTime = 1.0f;

    WorldText() : Entity(EntityType::WorldText) {}

    std::string text;
    fpVector2 velocity;  // pixels per second
    float red = 1.0f;
    float green = 1.0f;
    float blue = 1.0f;
    float alpha = 1.0f;
    bool timed = false;
    float remainingTime = 0.8f;  // seconds
    float fadeTime = 0.8f;       // seconds, the last part of the time
    std::string iconSprite;      // shown with the text when not empty
    float scale = 1.0f;
    float pulseRemaining = 0.0f;
    float pulseDuration = 0.0f;
};

} // namespace zor
