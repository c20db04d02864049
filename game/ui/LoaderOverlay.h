#pragma once
// What a state shows while it loads on the worker: the sprite "loader" of the set
// "Menus/loader" in the middle of the first viewport, fading in over a quarter of a second.

#include "Framework/graphics/sprite/Sprite.h"

namespace zor {

class SystemComponents;
struct UpdateRecord;

class LoaderOverlay {
public:
    static constexpr const char* SpriteSet = "Menus/loader";
    static constexpr const char* SpriteName = "loader";

    // Loads the set when it is not registered yet. A missing set or sprite is a warning;
    // the overlay then draws nothing.
    explicit LoaderOverlay(SystemComponents& components);

    // Starts the fade-in and the animation again.
    void restart();
    void update(const UpdateRecord& record);
    // Draws in the first viewport only.
    void draw();

    // Null when the set or the sprite is missing.
    const Sprite* sprite() const { return m_sprite.get(); }

private:
    SystemComponents& m_components;
    float m_elapsed = 0.0f;
    SpritePtr m_sprite;
};

} // namespace zor
