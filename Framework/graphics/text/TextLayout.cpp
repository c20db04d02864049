#include "Framework/graphics/text/TextLayout.h"

#include "Framework/core/localization/LocalizationHandler.h"
#include "Framework/graphics/font/Font.h"
#include "Framework/graphics/text/TextMesh.h"
#include "Framework/graphics/text/Utf8Text.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace zor {

namespace {

constexpr std::uint32_t LineFeed = 10;
constexpr std::uint32_t Blank = 32;

// Layout state of one line: the pen and the code point before it.
struct Pen {
    std::int32_t x = 0;
    std::int32_t previous = -1;
};

std::int32_t truncated(float value) { return static_cast<std::int32_t>(value); }

// Whether an overlong line may break only at a blank; languages written without blanks
// ("ja") break at any glyph.
bool breaksAtBlanks() {
    return !LocalizationHandler::exists() || LocalizationHandler::instance().breaksAtSpaces();
}

bool fits(const fpRect& box, const Glyph& glyph, const Pen& pen, float reserved) {
    return !(box.w < glyph.width + static_cast<float>(pen.x) + glyph.offsetX + reserved);
}

// Adds the glyph of the code point at the pen and moves the pen on. The pen normally
// advances by the whole kerning's truncation plus the advance; the continuation marker
// truncates their sum instead.
void place(TextMesh& mesh, const Font& font, std::uint32_t codePoint, Pen& pen, float y, std::int32_t line,
           bool truncateSum = false) {
    const Glyph& glyph = font.findGlyph(codePoint);
    const float k = font.kerning(pen.previous, codePoint);
    GlyphQuad quad;
    quad.font = &font;
    quad.glyph = &glyph;
    quad.codePoint = codePoint;
    quad.x = glyph.offsetX + static_cast<float>(pen.x) + k;
    quad.y = glyph.offsetY + y;
    quad.line = line;
    mesh.quads.push_back(quad);
    pen.x += truncateSum ? truncated(k + static_cast<float>(glyph.advance)) : truncated(k) + glyph.advance;
    pen.previous = static_cast<std::int32_t>(codePoint);
}

TextMeshPtr newMesh(const Font& font, const Utf8Text& decoded) {
    TextMeshPtr mesh(new TextMesh(decoded.text));
    mesh->font = &font;
    mesh->quads.reserve(decoded.codePoints.size());
    return mesh;
}

} // namespace

std::int32_t measureText(const std::string& text, const Font& font) {
    const Utf8Text decoded = decodeUtf8(text);
    std::int32_t extent = 0;
    Pen pen;
    for (const std::uint32_t codePoint : decoded.codePoints) {
        const Glyph& glyph = font.findGlyph(codePoint);
        const float k = font.kerning(pen.previous, codePoint);
        extent = std::max(extent, pen.x + truncated(glyph.offsetX + k + glyph.width));
        pen.x += truncated(k + static_cast<float>(glyph.advance));
        pen.previous = static_cast<std::int32_t>(codePoint);
    }
    return std::max(extent, pen.x);
}

TextMeshPtr Font::buildTextLine(const Font& font, const std::string& text, const fpRect& box, CompassAnchor anchor) {
    const Utf8Text decoded = decodeUtf8(text);
    TextMeshPtr mesh = newMesh(font, decoded);
    Pen pen;
    for (const std::uint32_t codePoint : decoded.codePoints) place(*mesh, font, codePoint, pen, 0.0f, 0);
    TextMesh::align(AlignEachLine, *mesh, box, anchor);
    return mesh;
}

TextMeshPtr Font::buildTextMesh(const Font& font, const std::string& text, const fpRect& box, CompassAnchor anchor) {
    const Utf8Text decoded = decodeUtf8(text);
    const std::vector<std::uint32_t>& codes = decoded.codePoints;
    TextMeshPtr mesh = newMesh(font, decoded);
    float y = 0.0f;
    std::int32_t line = 0;
    std::size_t next = 0;
    while (next < codes.size()) {
        const float lineBottom = y + static_cast<float>(font.lineHeight);
        if (box.h < lineBottom) break;
        const std::size_t lineStart = next;
        const std::size_t quadsBefore = mesh->quads.size();
        bool endedByLineFeed = false;
        Pen pen;
        while (next < codes.size()) {
            const std::uint32_t codePoint = codes[next];
            if (codePoint == LineFeed) {
                ++next;
                endedByLineFeed = true;
                break;
            }
            if (!fits(box, font.findGlyph(codePoint), pen, 0.0f)) break;
            place(*mesh, font, codePoint, pen, y, line);
            ++next;
        }
        y = lineBottom;
        if (mesh->quads.size() > quadsBefore) ++line;
        // A glyph wider than the box fits on no line: the lines below would stay empty.
        if (next == lineStart && !endedByLineFeed) break;
    }
    TextMesh::align(AlignEachLine, *mesh, box, anchor);
    return mesh;
}

TextMeshPtr Font::buildWrappedText(std::string* remainder, const Font& font, const std::string& text,
                                   const fpRect& box, CompassAnchor anchor, int mode) {
    const Utf8Text decoded = decodeUtf8(text);
    const std::vector<std::uint32_t>& codes = decoded.codePoints;
    TextMeshPtr mesh = newMesh(font, decoded);
    std::vector<GlyphQuad>& quads = mesh->quads;
    const float markerWidth = remainder ? static_cast<float>(measureText(*remainder, font)) : 0.0f;
    const float lineHeight = static_cast<float>(font.lineHeight);
    const bool blankBreaks = breaksAtBlanks();

    float y = 0.0f;
    std::int32_t line = 0;
    std::size_t next = 0;
    while (next < codes.size()) {
        if (box.h < y + lineHeight) break;
        const bool lastLine = box.h < y + 2.0f * lineHeight;
        while (next < codes.size() && codes[next] == Blank) ++next;
        const std::size_t lineStart = next;
        const std::size_t quadsBefore = quads.size();
        Pen pen;
        while (next < codes.size()) {
            const std::uint32_t codePoint = codes[next];
            if (codePoint == LineFeed) {
                ++next;
                break;
            }
            if (fits(box, font.findGlyph(codePoint), pen, lastLine ? markerWidth : 0.0f)) {
                place(*mesh, font, codePoint, pen, y, line);
                ++next;
                continue;
            }
            if (blankBreaks) {
                // Back over this line's glyphs to the blank before the word that overflows.
                std::size_t blank = next;
                while (blank > lineStart && codes[blank] != Blank) --blank;
                if (codes[blank] == Blank) {
                    quads.resize(quadsBefore + (blank - lineStart));
                    next = blank + 1;
                    break;
                }
            }
            // No blank to break at: a line with glyphs ends before the overflowing one; an
            // empty line takes it anyway, so every line makes progress.
            if (quads.size() == quadsBefore) {
                place(*mesh, font, codePoint, pen, y, line);
                ++next;
            }
            break;
        }
        if (lastLine) break;
        y += lineHeight;
        if (quads.size() > quadsBefore) ++line;
    }

    if (remainder) {
        if (next >= codes.size() || quads.empty()) {
            remainder->clear();
        } else {
            const GlyphQuad& last = quads.back();
            Pen pen;
            pen.x = truncated(last.x + last.glyph->width);
            const std::int32_t markerLine = last.line;
            const Utf8Text marker = decodeUtf8(*remainder);
            for (const std::uint32_t codePoint : marker.codePoints) {
                if (codePoint == LineFeed) break;
                place(*mesh, font, codePoint, pen, y, markerLine, true);
            }
            *remainder = decoded.text.substr(decoded.offsets[next]);
        }
    }
    TextMesh::align(mode, *mesh, box, anchor);
    return mesh;
}

} // namespace zor
