#pragma once
// Every load of the same image path shares one cached texture, whichever thread loads it.
// The cache keeps a share of each record so textures survive between uses; a purge at
// each game-state switch and at shutdown drops the records nothing else holds. Look-up
// and store are separate critical sections: two threads loading the same new path both
// decode it, and the later store wins.

#include <cstddef>
#include <memory>
#include <string>

#include "Framework/graphics/texture/Texture.h"

namespace zor {

class TextureCache {
public:
    // Any thread.
    static std::shared_ptr<Texture::CachedTexture> find(const std::string& path);
    // Inserts, or replaces the record of the same path. Any thread.
    static void store(const std::string& path, std::shared_ptr<Texture::CachedTexture> texture);
    // Erases every entry whose record the cache alone holds, deleting their GL textures.
    // Render thread only.
    static void purge();
    static std::size_t size();
};

} // namespace zor
