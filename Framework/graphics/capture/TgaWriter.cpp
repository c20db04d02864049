#include "Framework/graphics/capture/TgaWriter.h"

#include "Framework/core/io/Files.h"

#include <cstdio>
#include <cstring>

namespace zor {

void tgaHeader(const iVector2& size, std::uint8_t (&header)[TgaHeaderSize]) {
    std::memset(header, 0, TgaHeaderSize);
    header[2] = 2;  // uncompressed true colour
    header[12] = static_cast<std::uint8_t>(size.x);
    header[13] = static_cast<std::uint8_t>(size.x >> 8);
    header[14] = static_cast<std::uint8_t>(size.y);
    header[15] = static_cast<std::uint8_t>(size.y >> 8);
    header[16] = 32;
    header[17] = 0x08;
}

bool writeTGA(const std::string& name, const iVector2& size, const std::uint32_t* pixels) {
    const std::string path = resolvePath(name, FileLocation::User);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    std::uint8_t header[TgaHeaderSize];
    tgaHeader(size, header);
    const std::size_t count = static_cast<std::size_t>(size.x) * static_cast<std::size_t>(size.y);
    bool written = std::fwrite(header, 1, TgaHeaderSize, file) == TgaHeaderSize;
    if (written && count > 0) written = std::fwrite(pixels, 4, count, file) == count;
    // Closing flushes the buffered tail, which can fail on a full disk as well.
    written = std::fclose(file) == 0 && written;
    if (!written) std::remove(path.c_str());
    return written;
}

} // namespace zor
