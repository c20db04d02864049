#include "Framework/graphics/texture/PngDecoder.h"

#include <png.h>

#include <csetjmp>
#include <cstring>

namespace zor {

namespace {

// Everything libpng may leave half-built when it long-jumps out lives here, on the heap,
// so no C++ object with a destructor sits in a frame the jump skips.
struct DecodeState {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    std::size_t offset = 0;
    std::string error;
    DecodedImage image;
    std::vector<png_bytep> rows;
};

void readFromMemory(png_structp png, png_bytep target, png_size_t length) {
    auto* state = static_cast<DecodeState*>(png_get_io_ptr(png));
    if (length > state->size - state->offset) png_error(png, "unexpected end of file");
    std::memcpy(target, state->data + state->offset, length);
    state->offset += length;
}

void onError(png_structp png, png_const_charp message) {
    auto* state = static_cast<DecodeState*>(png_get_error_ptr(png));
    state->error = message ? message : "libpng error";
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

// Runs between setjmp and the end of the read; any libpng error leaves through onError.
// Returns false (with state.error set) for images this decoder refuses on its own.
bool readImage(png_structp png, png_infop info, DecodeState& state) {
    png_set_read_fn(png, &state, readFromMemory);
    png_set_user_limits(png, kMaxPngSide, kMaxPngSide);
    png_read_info(png, info);

    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    if (std::uint64_t{width} * height > kMaxPngPixels) {
        state.error = "image of " + std::to_string(width) + " x " + std::to_string(height) +
                      " pixels is too large";
        return false;
    }
    const int colorType = png_get_color_type(png, info);
    const int bitDepth = png_get_bit_depth(png, info);
    const bool hasTransparency = png_get_valid(png, info, PNG_INFO_tRNS) != 0;

    if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (hasTransparency) png_set_tRNS_to_alpha(png);
    if (bitDepth == 16) png_set_strip_16(png);
    const bool gray = (colorType & PNG_COLOR_MASK_COLOR) == 0;
    const bool grayWithAlpha = gray && (colorType == PNG_COLOR_TYPE_GRAY_ALPHA || hasTransparency);
    if (grayWithAlpha) png_set_gray_to_rgb(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);

    // The layout comes from libpng after the transforms are set up, and must be one of ours.
    const int channels = png_get_channels(png, info);
    const std::size_t rowBytes = png_get_rowbytes(png, info);
    if ((channels != 1 && channels != 3 && channels != 4) ||
        png_get_bit_depth(png, info) != 8 || rowBytes != std::size_t{width} * channels) {
        state.error = "unsupported pixel layout";
        return false;
    }

    DecodedImage& image = state.image;
    image.width = static_cast<int>(width);
    image.height = static_cast<int>(height);
    image.channels = channels;
    image.alpha = channels != 3;
    image.pixels = std::make_shared<std::vector<std::uint8_t>>(rowBytes * height);
    state.rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y) state.rows[y] = image.pixels->data() + y * rowBytes;
    png_read_image(png, state.rows.data());
    png_read_end(png, nullptr);
    return true;
}

} // namespace

bool decodePNG(const std::uint8_t* data, std::size_t size, DecodedImage& out, std::string& error) {
    out = DecodedImage{};
    if (size < 8 || png_sig_cmp(data, 0, 8) != 0) {
        error = "not a PNG file";
        return false;
    }
    const auto state = std::make_unique<DecodeState>();
    state->data = data;
    state->size = size;

    png_structp png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, state.get(), onError, onWarning);
    if (!png) {
        error = "out of memory";
        return false;
    }
    png_infop info = png_create_info_struct(png);
    volatile bool ok = false;
    if (!info) {
        state->error = "out of memory";
    } else if (setjmp(png_jmpbuf(png)) == 0) {
        ok = readImage(png, info, *state);
    }
    png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);

    if (!ok) {
        error = state->error.empty() ? "out of memory" : state->error;
        return false;
    }
    out = std::move(state->image);
    return true;
}

} // namespace zor
