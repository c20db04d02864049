#pragma once
// Uncompressed 32-bit TGA files for frame captures.

#include "Framework/core/math/Vector.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace zor {

constexpr std::size_t TgaHeaderSize = 18;

// The header of an image of that size: true colour, 8 alpha bits, origin bottom left.
void tgaHeader(const iVector2& size, std::uint8_t (&header)[TgaHeaderSize]);

// Writes the user file `name`: the header, then width x height pixels of 4 bytes (blue,
// green, red, alpha; rows bottom-up). False when any part could not be written; a file
// left incomplete is removed.
bool writeTGA(const std::string& name, const iVector2& size, const std::uint32_t* pixels);

} // namespace zor
