#include "tools/spriteset_writer/writer/PngWriter.h"

#include "Framework/graphics/texture/PngDecoder.h"

#include <png.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace zor::spriteset {
namespace {

void appendBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void flushNothing(png_structp) {}

} // namespace

std::vector<std::uint8_t> encodePng(const RgbaImage& image) {
    std::vector<std::uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        png_destroy_write_struct(&png, nullptr);
        throw std::runtime_error("PNG encoder could not be set up");
    }
    std::vector<png_bytep> rows(static_cast<std::size_t>(image.height));
    for (int y = 0; y < image.height; ++y) rows[y] = const_cast<png_bytep>(image.at(0, y));
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("PNG encoding failed");
    }
    png_set_write_fn(png, &out, appendBytes, flushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
                 PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

void writePngFile(const std::string& path, const RgbaImage& image) {
    const std::vector<std::uint8_t> bytes = encodePng(image);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!file.flush()) throw std::runtime_error("Could not write " + path);
}

RgbaImage readPngFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw std::runtime_error("Could not open image " + path);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    DecodedImage decoded;
    std::string error;
    if (!decodePNG(bytes.data(), bytes.size(), decoded, error)) {
        throw std::runtime_error("Could not decode image " + path + ": " + error);
    }
    RgbaImage image(decoded.width, decoded.height);
    const std::uint8_t* in = decoded.pixels->data();
    for (std::size_t i = 0, n = static_cast<std::size_t>(decoded.width) * decoded.height; i < n; ++i) {
        std::uint8_t* out = image.pixels.data() + i * 4;
        const std::uint8_t* pixel = in + i * decoded.channels;
        switch (decoded.channels) {
        case 1:  // a grey image is an alpha mask
            out[0] = out[1] = out[2] = 255;
            out[3] = pixel[0];
            break;
        case 3:
            out[0] = pixel[0];
            out[1] = pixel[1];
            out[2] = pixel[2];
            out[3] = 255;
            break;
        default:
            out[0] = pixel[0];
            out[1] = pixel[1];
            out[2] = pixel[2];
            out[3] = pixel[3];
            break;
        }
    }
    return image;
}

} // namespace zor::spriteset
