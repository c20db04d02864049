#pragma once
// Text layout helpers beside the Font layouts (buildTextLine, buildTextMesh,
// buildWrappedText), which are implemented with them in TextLayout.cpp.

#include <cstdint>
#include <string>

namespace zor {

class Font;

// The width of the text on one line: the furthest a glyph or the pen reaches.
std::int32_t measureText(const std::string& text, const Font& font);

} // namespace zor
