#pragma once
// The handle through which everything draws an image. Each handle shares one
// CachedTexture, the record of a GL texture: PNG files of the game data shared by path
// through the texture cache, or "$dynamic" textures the program fills itself.
//
// Files may be loaded on any thread: decoding is plain memory work, and a load away from
// the render thread hands the GL upload to the render thread's queue, so the GL name
// stays 0 until that queue is pumped. createDynamic and uploadPixels are render-thread
// only.

#include <cstdint>
#include <memory>
#include <string>

#include "Framework/core/math/Vector.h"
#include "Framework/graphics/render/RenderState.h"
#include "Framework/graphics/texture/PngDecoder.h"

namespace zor {

// Layout units per texture pixel for file textures loaded by localised name: 1 until
// start-up sets it to 1/3 (art is authored at three times the unit size).
extern float textureScale;

// Pixel formats of dynamic textures; file textures are always 8 bits per channel.
enum TexturePixelFormat : std::int32_t {
    PixelFormatRGBA8 = 0,
    PixelFormatRGBA4444 = 1,
    PixelFormatRGBA5551 = 2,
    PixelFormatRGB565 = 3,
};

class Texture {
public:
    struct CachedTexture : std::enable_shared_from_this<CachedTexture> {
        CachedTexture() = default;
        CachedTexture(const CachedTexture&) = delete;
        CachedTexture& operator=(const CachedTexture&) = delete;
        // Deletes the GL texture; away from the render thread the deletion is handed to
        // it, and once the context is gone it is skipped.
        ~CachedTexture();

        // Creates and fills the GL texture (render thread), then queues ensureResident.
        void upload(const PixelBuffer& pixels, const TextureSampling& sampling);
        // Draws the texture once when the driver reports it not resident, so the first
        // real use does not stall.
        void ensureResident();

        std::string name;
        float width = 0.0f;  // layout units
        float height = 0.0f;
        std::int32_t pixelWidth = 0;
        std::int32_t pixelHeight = 0;
        float reciprocalWidth = 0.0f;  // 1 / width in layout units
        float reciprocalHeight = 0.0f;
        unsigned glTexture = 0;  // 0 until uploaded
        std::int32_t channels = 0;  // 1 alpha only, 3 RGB, 4 RGBA
        std::int32_t pixelFormat = PixelFormatRGBA8;
        bool alpha = false;
    };

    // Loads a PNG file, or shares the cached record of its path. Unless raw, the name is
    // localised and the size scaled by textureScale. An option list in square brackets
    // holding "nonpremul" keeps the colours as stored instead of premultiplying them. A
    // file that cannot be decoded is logged as a warning and replaced by a 256 x 256
    // placeholder.
    Texture(const std::string& name, bool raw, const TextureSampling& sampling);
    // Another handle on an existing record.
    explicit Texture(std::shared_ptr<CachedTexture> cached);
    virtual ~Texture() = default;
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    // An uncached texture of the given size in pixels with undefined contents (render thread).
    static std::shared_ptr<Texture> createDynamic(std::int32_t pixelFormat, iVector2 size,
                                                  const TextureSampling& sampling);
    // Replaces the whole image with data of the same size, channels and format (render
    // thread). Leaves the texture bound.
    void uploadPixels(const void* pixels);

    // Drops the cache's share of every record nothing else holds (render thread).
    static void purgeCache();

    const std::shared_ptr<CachedTexture>& cached() const { return m_cached; }
    unsigned glTexture() const { return m_cached->glTexture; }
    float width() const { return m_cached->width; }
    float height() const { return m_cached->height; }
    float reciprocalWidth() const { return m_cached->reciprocalWidth; }
    float reciprocalHeight() const { return m_cached->reciprocalHeight; }

private:
    std::shared_ptr<CachedTexture> m_cached;
};

// The image a texture gets when its file cannot be decoded: 256 x 256 RGBA, a magenta and
// black checkerboard of 32-pixel squares, so missing art is plain to see.
DecodedImage placeholderImage();

} // namespace zor
