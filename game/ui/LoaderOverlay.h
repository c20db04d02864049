#pragma once
// What the in-game state shows while its game is built or changes level: a dark screen
// with the interface set's spinner, fading in over a quarter of a second.

#include "Framework/graphics/sprite/Sprite.h"

namespace zor {

class SystemComponents;
struct UpdateRecord;

class LoaderOverlay {
public:
    explicit LoaderOverlay(SystemComponents& components) : m_components(components) {}

    // Starts the fade-in again.
    void restart();
    void update(const UpdateRecord& record);
    // Draws in the first viewport only.
    void draw();

private:
    SystemComponents& m_components;
    float m_elapsed = 0.0f;
    SpritePtr m_spinner;
};

} // namespace zor
