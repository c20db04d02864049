// Feeds arbitrary bytes to the PNG decoder: every input must either decode into a buffer
// of exactly width x height x channels bytes or be refused with a reason.
#include "Framework/graphics/texture/PngDecoder.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zor::DecodedImage image;
    std::string error;
    if (zor::decodePNG(data, size, image, error)) {
        const std::size_t expected = std::size_t(image.width) * std::size_t(image.height) * std::size_t(image.channels);
        if (!image.pixels || image.pixels->size() != expected) std::abort();
    } else if (error.empty() || image.pixels) {
        std::abort();
    }
    return 0;
}
