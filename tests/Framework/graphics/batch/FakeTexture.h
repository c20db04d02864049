#pragma once
// Textures with a made-up GL name and size and no GL object, for the CPU side of the batches.

#include "Framework/graphics/texture/Texture.h"

#include <memory>

namespace zor::test {

inline std::unique_ptr<Texture> fakeTexture(unsigned glName, float width, float height) {
    auto record = std::make_shared<Texture::CachedTexture>();
    record->name = "fake";
    record->glTexture = glName;
    record->width = width;
    record->height = height;
    record->pixelWidth = static_cast<int>(width);
    record->pixelHeight = static_cast<int>(height);
    record->reciprocalWidth = 1.0f / width;
    record->reciprocalHeight = 1.0f / height;
    record->channels = 4;
    record->alpha = true;
    return std::make_unique<Texture>(std::move(record));
}

} // namespace zor::test
