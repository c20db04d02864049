#pragma once
// PNG files written in memory with libpng, so the decoder tests and benchmarks need no
// binary fixtures.

#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

namespace zor::test {

struct PngSpec {
    PngSpec(png_uint_32 w, png_uint_32 h, int type, int depth, std::vector<std::uint8_t> rows)
        : width(w), height(h), colorType(type), bitDepth(depth), data(std::move(rows)) {}

    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int colorType = PNG_COLOR_TYPE_RGBA;
    int bitDepth = 8;
    // Packed rows exactly as libpng takes them for the colour type and depth.
    std::vector<std::uint8_t> data;
    std::vector<png_color> palette;
    // Transparency chunk: alpha per palette entry, or one transparent grey or RGB value.
    std::vector<png_byte> paletteAlpha;
    std::optional<png_color_16> transparentColor;
    bool interlaced = false;
};

inline std::vector<std::uint8_t> writePng(const PngSpec& spec) {
    struct Output {
        std::vector<std::uint8_t> bytes;
    };
    static_assert(std::is_trivially_destructible_v<png_color_16>);
    auto output = std::make_unique<Output>();
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    std::vector<png_bytep> rows(spec.height);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("libpng could not write the fixture");
    }
    png_set_write_fn(
        png, output.get(),
        [](png_structp p, png_bytep data, png_size_t length) {
            auto* out = static_cast<Output*>(png_get_io_ptr(p));
            out->bytes.insert(out->bytes.end(), data, data + length);
        },
        nullptr);
    png_set_IHDR(png, info, spec.width, spec.height, spec.bitDepth, spec.colorType,
                 spec.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!spec.palette.empty())
        png_set_PLTE(png, info, spec.palette.data(), static_cast<int>(spec.palette.size()));
    if (!spec.paletteAlpha.empty())
        png_set_tRNS(png, info, spec.paletteAlpha.data(), static_cast<int>(spec.paletteAlpha.size()), nullptr);
    if (spec.transparentColor) {
        png_color_16 color = *spec.transparentColor;
        png_set_tRNS(png, info, nullptr, 0, &color);
    }
    png_write_info(png, info);
    if (spec.bitDepth == 16) png_set_swap(png);  // rows are given little-endian
    const std::size_t rowBytes = png_get_rowbytes(png, info);
    for (png_uint_32 y = 0; y < spec.height; ++y)
        rows[y] = const_cast<png_bytep>(spec.data.data()) + y * rowBytes;
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::move(output->bytes);
}

// A copy of the file with the header's width and height replaced (and its checksum
// fixed), for sizes too large to write for real.
inline std::vector<std::uint8_t> withHeaderSize(std::vector<std::uint8_t> file, std::uint32_t width,
                                                std::uint32_t height) {
    // Signature (8), chunk length (4), "IHDR" (4), then width and height big-endian.
    const auto put = [&file](std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i) file[at + i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
    };
    put(16, width);
    put(20, height);
    const std::uint32_t crc = static_cast<std::uint32_t>(crc32(0, file.data() + 12, 17));
    put(29, crc);
    return file;
}

} // namespace zor::test
