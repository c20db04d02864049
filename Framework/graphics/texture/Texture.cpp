#include "Framework/graphics/texture/Texture.h"

#include "Framework/core/Errors.h"
#include "Framework/core/io/Files.h"
#include "Framework/core/localization/LocalizedFileName.h"
#include "Framework/core/log/LogHandler.h"
#include "Framework/core/settings/SettingValue.h"
#include "Framework/core/text/TextUtils.h"
#include "Framework/graphics/batch/QuadBatch.h"
#include "Framework/graphics/render/RenderThread.h"
#include "Framework/graphics/texture/Premultiply.h"
#include "Framework/graphics/texture/TextureCache.h"

#include <GL/glew.h>

#include <algorithm>
#include <vector>

namespace zor {

float textureScale = 1.0f;

namespace {

const char* const kLogSource = "Texture";
constexpr int kPlaceholderSize = 256;
constexpr int kPlaceholderSquare = 32;

bool keepsStraightAlpha(const std::string& name) {
    std::vector<OptionalSettingValue> options;
    parseOptionList(name, options);
    return std::any_of(options.begin(), options.end(), [](const OptionalSettingValue& option) {
        const auto* text = std::get_if<std::string>(&option.value);
        return text && *text == "nonpremul";
    });
}

GLenum pixelType(std::int32_t pixelFormat) {
    switch (pixelFormat) {
    case PixelFormatRGBA4444: return GL_UNSIGNED_SHORT_4_4_4_4;
    case PixelFormatRGBA5551: return GL_UNSIGNED_SHORT_5_5_5_1;
    case PixelFormatRGB565: return GL_UNSIGNED_SHORT_5_6_5;
    default: return GL_UNSIGNED_BYTE;
    }
}

GLenum dataFormat(std::int32_t channels) {
    if (channels == 1) return GL_ALPHA;
    if (channels == 3) return GL_RGB;
    return GL_RGBA;
}

// Rows of 8-bit pixels start on 4-byte boundaries only when their size is a multiple of 4.
void setUnpackAlignment(std::int64_t rowBytes) { glPixelStorei(GL_UNPACK_ALIGNMENT, rowBytes % 4 ? 1 : 4); }

std::int64_t bytesPerPixel(const Texture::CachedTexture& record) {
    return record.pixelFormat == PixelFormatRGBA8 ? record.channels : 2;
}

// Reads and decodes the record's file. A file that is missing, unreadable or not a valid
// PNG is logged and replaced by the placeholder.
void decodeFile(Texture::CachedTexture& record, PixelBuffer& pixels) {
    DecodedImage image;
    std::string error;
    try {
        ByteArray bytes;
        const std::size_t size = readFile(bytes, record.name, FileLocation::GameData, false);
        if (size == 0)
            error = "the file is missing or empty";
        else
            decodePNG(bytes.get(), size, image, error);
    } catch (const CheckReleaseError& e) {
        error = e.what();
    }
    if (!image.pixels) {
        LogHandler::log(LogHandler::Warning, kLogSource,
                        "Could not load texture '" + record.name + "': " + error);
        image = placeholderImage();
    }
    record.width = static_cast<float>(image.width);
    record.height = static_cast<float>(image.height);
    record.pixelWidth = image.width;
    record.pixelHeight = image.height;
    record.channels = image.channels;
    record.alpha = image.alpha;
    pixels = std::move(image.pixels);
}

} // namespace

DecodedImage placeholderImage() {
    DecodedImage image;
    image.width = image.height = kPlaceholderSize;
    image.channels = 4;
    image.alpha = true;
    image.pixels = std::make_shared<std::vector<std::uint8_t>>(std::size_t{kPlaceholderSize} * kPlaceholderSize * 4);
    std::uint8_t* p = image.pixels->data();
    for (int y = 0; y < kPlaceholderSize; ++y) {
        for (int x = 0; x < kPlaceholderSize; ++x, p += 4) {
            const bool magenta = ((x / kPlaceholderSquare) + (y / kPlaceholderSquare)) % 2 == 0;
            p[0] = magenta ? 255 : 0;
            p[1] = 0;
            p[2] = magenta ? 255 : 0;
            p[3] = 255;
        }
    }
    return image;
}

Texture::Texture(std::shared_ptr<CachedTexture> cached) : m_cached(std::move(cached)) {}

Texture::Texture(const std::string& name, bool raw, const TextureSampling& sampling) {
    const std::string path = raw ? name : localizedFileName(name);
    if ((m_cached = TextureCache::find(path))) return;

    const bool premultiply = !keepsStraightAlpha(name);
    auto record = std::make_shared<CachedTexture>();
    record->name = path;
    PixelBuffer pixels;
    decodeFile(*record, pixels);
    record->reciprocalWidth = 1.0f / static_cast<float>(record->pixelWidth);
    record->reciprocalHeight = 1.0f / static_cast<float>(record->pixelHeight);
    if (premultiply && record->channels == 4 && record->alpha)
        premultiplyAlpha(pixels->data(), std::size_t(record->pixelWidth) * std::size_t(record->pixelHeight));
    if (!raw) {
        record->width *= textureScale;
        record->height *= textureScale;
        record->reciprocalWidth /= textureScale;
        record->reciprocalHeight /= textureScale;
    }

    if (isRenderThread()) {
        record->upload(pixels, sampling);
    } else if (!postToRenderThread([record, pixels, sampling] { record->upload(pixels, sampling); })) {
        LogHandler::log(LogHandler::Warning, kLogSource,
                        "Texture '" + path + "' was loaded with no render queue and stays blank");
    }
    TextureCache::store(path, record);
    m_cached = std::move(record);
}

void Texture::CachedTexture::upload(const PixelBuffer& pixels, const TextureSampling& sampling) {
    glGenTextures(1, &glTexture);
    glBindTexture(GL_TEXTURE_2D, glTexture);
    applyTextureSampling(sampling);
    if (sampling.wantsMipmaps()) glTexParameteri(GL_TEXTURE_2D, GL_GENERATE_MIPMAP, GL_TRUE);
    const GLenum format = dataFormat(channels);
    const GLenum type = channels == 4 ? GL_UNSIGNED_INT_8_8_8_8_REV : GL_UNSIGNED_BYTE;
    setUnpackAlignment(std::int64_t{channels} * pixelWidth);
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), pixelWidth, pixelHeight, 0, format, type,
                 pixels ? pixels->data() : nullptr);
    postToRenderThread([self = shared_from_this()] { self->ensureResident(); });
}

void Texture::CachedTexture::ensureResident() {
    glBindTexture(GL_TEXTURE_2D, glTexture);
    GLint resident = GL_TRUE;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_RESIDENT, &resident);
    if (resident != 0) return;
    static QuadBatch warmUp(1);
    const Texture handle(shared_from_this());
    warmUp.begin();
    warmUp.drawWhite(handle, fpVector2(0.0f, 0.0f));
    warmUp.flush(0);
}

Texture::CachedTexture::~CachedTexture() {
    if (glTexture == 0 || !renderContextAlive()) return;
    if (isRenderThread()) {
        glDeleteTextures(1, &glTexture);
        return;
    }
    // The last holder let go on another thread: the render thread deletes it.
    postToRenderThread([name = glTexture] {
        if (renderContextAlive()) glDeleteTextures(1, &name);
    });
}

std::shared_ptr<Texture> Texture::createDynamic(std::int32_t pixelFormat, iVector2 size,
                                                const TextureSampling& sampling) {
    auto record = std::make_shared<CachedTexture>();
    record->name = "$dynamic";
    record->width = static_cast<float>(size.x);
    record->height = static_cast<float>(size.y);
    record->pixelWidth = size.x;
    record->pixelHeight = size.y;
    record->reciprocalWidth = 1.0f / static_cast<float>(size.x);
    record->reciprocalHeight = 1.0f / static_cast<float>(size.y);
    record->pixelFormat = pixelFormat;
    record->channels = pixelFormat == PixelFormatRGB565 ? 3 : 4;
    record->alpha = record->channels == 4;
    glGenTextures(1, &record->glTexture);
    glBindTexture(GL_TEXTURE_2D, record->glTexture);
    applyTextureSampling(sampling);
    glTexImage2D(GL_TEXTURE_2D, 0, record->channels, size.x, size.y, 0, dataFormat(record->channels),
                 pixelType(pixelFormat), nullptr);
    return std::make_shared<Texture>(std::move(record));
}

void Texture::uploadPixels(const void* pixels) {
    const CachedTexture& record = *m_cached;
    glBindTexture(GL_TEXTURE_2D, record.glTexture);
    setUnpackAlignment(bytesPerPixel(record) * record.pixelWidth);
    const GLenum format = dataFormat(record.channels);
    // An alpha-only texture stays alpha-only (a channel count of 1 would make it luminance).
    const GLint internalFormat = record.channels == 1 ? GL_ALPHA : record.channels;
    glTexImage2D(GL_TEXTURE_2D, 0, internalFormat, record.pixelWidth, record.pixelHeight, 0, format,
                 pixelType(record.pixelFormat), pixels);
}

void Texture::purgeCache() { TextureCache::purge(); }

} // namespace zor
