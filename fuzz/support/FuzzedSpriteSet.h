#pragma once
// Sprite sets read from fuzzed bytes, and a manager for their trees that makes no trees by
// name and finds no images.

#include <cstdint>
#include <cstring>
#include <memory>

#include "Framework/core/Errors.h"
#include "Framework/graphics/sprite/ISpriteManager.h"
#include "Framework/graphics/sprite/SpriteSet.h"

namespace zor::fuzz {

// The set the bytes hold, or null when the reader refuses them.
inline std::shared_ptr<SpriteSet> readFuzzedSpriteSet(const std::uint8_t* data, std::size_t size) {
    ByteArray buffer(new std::uint8_t[size + 1]);
    if (size > 0) std::memcpy(buffer.get(), data, size);
    try {
        return readSpriteSet(buffer, size, "Sprites/fuzz");
    } catch (const CheckReleaseError&) {
        return nullptr;
    }
}

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
