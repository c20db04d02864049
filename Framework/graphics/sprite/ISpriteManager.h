#pragma once
// What drawing code holds of a sprite set: it makes sprite trees by name and never sees
// the set itself.

#include <string>

#include "Framework/graphics/sprite/Sprite.h"

namespace zor {

struct TextureSetReference;

class ISpriteBasicManager {
public:
    virtual ~ISpriteBasicManager() = default;
    // A new tree of the named definition, or null when the set has none of that name.
    virtual SpritePtr createSprite(const std::string& name) = 0;
};

class ISpriteManager : public ISpriteBasicManager {
public:
    // Of every sprite of the set.
    virtual float framesPerSecond() const = 0;
    // The named image of the set's texture set; `out` is left alone when absent.
    virtual bool findTexture(const std::string& name, TextureSetReference& out) const = 0;
};

} // namespace zor
