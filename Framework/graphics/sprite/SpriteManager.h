#pragma once
// Owns one loaded sprite set and makes sprite trees of its definitions by name.

#include <memory>
#include <string>

#include "Framework/graphics/sprite/ISpriteManager.h"

namespace zor {

class SpriteSet;

class SpriteManager : public ISpriteManager {
public:
    // Loads the set of the game data folder; its CheckReleaseError propagates.
    explicit SpriteManager(const std::string& folder);
    // Manages a set already in memory.
    explicit SpriteManager(std::shared_ptr<SpriteSet> set);

    SpritePtr createSprite(const std::string& name) override;
    float framesPerSecond() const override;
    bool findTexture(const std::string& name, TextureSetReference& out) const override;

    const SpriteSet& spriteSet() const { return *m_set; }

private:
    std::shared_ptr<SpriteSet> m_set;
};

} // namespace zor
