#pragma once
// A sprite manager for trees of a fuzzed set: it makes no trees by name and finds no images.

#include "Framework/graphics/sprite/ISpriteManager.h"
#include "Framework/graphics/sprite/SpriteSet.h"

namespace zor::fuzz {

class NoImages : public ISpriteManager {
public:
    explicit NoImages(const SpriteSet& set) : m_set(set) {}
    SpritePtr createSprite(const std::string&) override { return nullptr; }
    float framesPerSecond() const override { return static_cast<float>(m_set.framesPerSecond); }
    bool findTexture(const std::string&, TextureSetReference&) const override { return false; }

private:
    const SpriteSet& m_set;
};

} // namespace zor::fuzz
