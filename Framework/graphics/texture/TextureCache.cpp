#include "Framework/graphics/texture/TextureCache.h"

#include "Framework/core/threads/Mutex.h"

#include <unordered_map>

namespace zor {

namespace {

struct CacheState {
    Mutex mutex;
    std::unordered_map<std::string, std::shared_ptr<Texture::CachedTexture>> entries;
};

CacheState& state() {
    static CacheState cache;
    return cache;
}

} // namespace

std::shared_ptr<Texture::CachedTexture> TextureCache::find(const std::string& path) {
    CacheState& cache = state();
    Mutex::ScopedLock lock(cache.mutex);
    const auto it = cache.entries.find(path);
    return it == cache.entries.end() ? nullptr : it->second;
}

void TextureCache::store(const std::string& path, std::shared_ptr<Texture::CachedTexture> texture) {
    CacheState& cache = state();
    Mutex::ScopedLock lock(cache.mutex);
    cache.entries[path] = std::move(texture);
}

void TextureCache::purge() {
    CacheState& cache = state();
    Mutex::ScopedLock lock(cache.mutex);
    for (auto it = cache.entries.begin(); it != cache.entries.end();) {
        if (it->second.use_count() == 1)
            it = cache.entries.erase(it);
        else
            ++it;
    }
}

std::size_t TextureCache::size() {
    CacheState& cache = state();
    Mutex::ScopedLock lock(cache.mutex);
    return cache.entries.size();
}

} // namespace zor
