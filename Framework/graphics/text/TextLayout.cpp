#include "Framework/graphics/text/TextLayout.h"

#include "Framework/core/localization/LocalizationHandler.h"
#include "Framework/graphics/font/Font.h"
#include "Framework/graphics/text/TextMesh.h"
#include "Framework/graphics/text/Utf8Text.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstddef>
#include <vector>

namespace zor {

namespace {

constexpr std::uint32_t LineFeed = 10;
constexpr char Blank = ' ';

// Layout state of one line: the pen, the code point before it, and the last one with an
// area (from which bounds measure kerning).
struct Pen {
    std::int32_t x = 0;
    std::int32_t previous = -1;
    std::int32_t previousWithArea = -1;
};

std::int32_t truncated(float value) { return static_cast<std::int32_t>(value); }

// Whether an overlong line may break only at a blank; languages written without blanks
// ("ja") break at any glyph.
bool breaksAtBlanks() {
    return !LocalizationHandler::exists() || LocalizationHandler::instance().breaksAtSpaces();
}

bool fits(float boxWidth, const Glyph& glyph, const Pen& pen, float reserved) {
    return !(boxWidth < glyph.width + static_cast<float>(pen.x) + glyph.offsetX + reserved);
}

// The quads a layout writes: the mesh's vector made as long as the most quads the layout
// can place (no more than one per byte of the texts), uncleared, and cut to those placed
// when done, so that placing a glyph is a few stores and no check. Every quad is written
// whole, its offsets +0 until alignment.
class PlacedQuads {
public:
    PlacedQuads(GlyphQuads& quads, std::size_t most) : m_quads(quads) {
        m_quads.resize(most);
        m_first = m_next = m_quads.data();
    }
    std::size_t size() const { return static_cast<std::size_t>(m_next - m_first); }
    bool empty() const { return m_next == m_first; }
    GlyphQuad& add() {
        assert(m_next != m_quads.data() + m_quads.size() && "the room made up front bounds the quads");
        return *m_next++;
    }
    // Forgets the quads from `count` on.
    void backTo(std::size_t count) { m_next = m_first + count; }
    const GlyphQuad* begin() const { return m_first; }
    const GlyphQuad* end() const { return m_next; }
    // Before the mesh's quads are read as a whole.
    void finish() { m_quads.resize(size()); }

private:
    GlyphQuads& m_quads;
    GlyphQuad* m_first;
    GlyphQuad* m_next;
};

// Adds the glyph of the code point at the pen and moves the pen on. The pen normally
// advances by the whole kerning's truncation plus the advance; the continuation marker
// truncates their sum instead. Inline in the layout loops: a call per glyph costs them a
// quarter of their time.
[[gnu::always_inline]] inline const GlyphQuad& place(PlacedQuads& quads, const Font& font, const Glyph& glyph,
                                                     std::uint32_t codePoint, Pen& pen, float y, std::int32_t line,
                                                     bool truncateSum = false) {
    const float k = font.kerning(pen.previous, codePoint);
    const bool hasArea = glyph.width > 0.0f || glyph.height > 0.0f;
    float kerning = 0.0f;
    if (hasArea) {
        kerning = pen.previousWithArea == pen.previous ? k : font.kerning(pen.previousWithArea, codePoint);
        pen.previousWithArea = static_cast<std::int32_t>(codePoint);
    }
    GlyphQuad& quad = quads.add();
    quad.x = glyph.offsetX + static_cast<float>(pen.x) + k;
    quad.y = glyph.offsetY + y;
    quad.offsetX = 0.0f;
    quad.offsetY = 0.0f;
    quad.glyph = &glyph;
    quad.codePoint = codePoint;
    quad.line = line;
    quad.kerning = kerning;
    quad.hasArea = hasArea;
    pen.x += truncateSum ? truncated(k + static_cast<float>(glyph.advance)) : truncated(k) + glyph.advance;
    pen.previous = static_cast<std::int32_t>(codePoint);
    return quad;
}

// Grows a line's extent by the glyph just placed (by nothing when it has no area).
[[gnu::always_inline]] inline void grow(TextLineExtent& extent, const GlyphQuad& quad, float lineHeight) {
    const GlyphPen pen = glyphPen(quad);
    growExtent(extent, quad.hasArea, pen.x, pen.y, quad.kerning, quad.glyph->advance, lineHeight);
}

// The line of the quads [first, first + count) with the extent measured for it; built
// from a copy, so that the layout's own extent never leaves the registers.
TextLineExtent lineOf(TextLineExtent extent, std::size_t first, std::size_t count) {
    extent.first = first;
    extent.count = count;
    return extent;
}

// Room for the lines of a box, as many as it holds up to a few dozen: lines are added
// one by one, and each growth of the vector costs an allocation and a copy.
std::size_t lineRoom(float boxHeight, float lineHeight) {
    constexpr float Most = 64.0f;
    const float fitting = boxHeight / lineHeight;
    return fitting >= 0.0f && fitting < Most ? static_cast<std::size_t>(fitting) + 1 : static_cast<std::size_t>(Most);
}

// A mesh of the cleaned text, whose bytes the layouts then read.
TextMeshPtr newMesh(const Font& font, const std::string& text) {
    TextMeshPtr mesh(new TextMesh(cleanUtf8(text)));
    mesh->font = &font;
    return mesh;
}

// Measures the quads from `first` on as one more line.
void endLine(const TextMesh& mesh, const PlacedQuads& quads, std::size_t first, std::vector<TextLineExtent>& lines) {
    if (quads.size() > first) lines.push_back(mesh.measureLine(first, quads.size() - first));
}

} // namespace

std::int32_t measureText(const std::string& text, const Font& font) {
    const std::string clean = cleanUtf8(text);
    std::int32_t extent = 0;
    Pen pen;
    const char* const end = clean.data() + clean.size();
    for (const char* at = clean.data(); at != end;) {
        const std::uint32_t codePoint = codePointAt(at, at);
        const Glyph& glyph = font.findGlyph(codePoint);
        const float k = font.kerning(pen.previous, codePoint);
        extent = std::max(extent, pen.x + truncated(glyph.offsetX + k + glyph.width));
        pen.x += truncated(k + static_cast<float>(glyph.advance));
        pen.previous = static_cast<std::int32_t>(codePoint);
    }
    return std::max(extent, pen.x);
}

TextMeshPtr Font::buildTextLine(const Font& font, const std::string& text, const fpRect& box, CompassAnchor anchor) {
    TextMeshPtr mesh = newMesh(font, text);
    PlacedQuads quads(mesh->quads, mesh->text.size());
    Pen pen;
    const char* const end = mesh->text.data() + mesh->text.size();
    for (const char* at = mesh->text.data(); at != end;) {
        const std::uint32_t codePoint = codePointAt(at, at);
        place(quads, font, font.findGlyph(codePoint), codePoint, pen, 0.0f, 0);
    }
    quads.finish();
    std::vector<TextLineExtent> lines;
    endLine(*mesh, quads, 0, lines);
    TextMesh::alignLines(AlignEachLine, *mesh, lines, box, anchor, true);
    return mesh;
}

TextMeshPtr Font::buildTextMesh(const Font& font, const std::string& text, const fpRect& box, CompassAnchor anchor) {
    TextMeshPtr mesh = newMesh(font, text);
    PlacedQuads quads(mesh->quads, mesh->text.size());
    std::vector<TextLineExtent> lines;
    const char* next = mesh->text.data();
    const char* const end = next + mesh->text.size();
    float y = 0.0f;
    std::int32_t line = 0;
    while (next != end) {
        const float lineBottom = y + static_cast<float>(font.lineHeight);
        if (box.h < lineBottom) break;
        const char* const lineStart = next;
        const std::size_t quadsBefore = quads.size();
        bool endedByLineFeed = false;
        Pen pen;
        while (next != end) {
            const char* after;
            const std::uint32_t codePoint = codePointAt(next, after);
            if (codePoint == LineFeed) {
                next = after;
                endedByLineFeed = true;
                break;
            }
            const Glyph& glyph = font.findGlyph(codePoint);
            if (!fits(box.w, glyph, pen, 0.0f)) break;
            place(quads, font, glyph, codePoint, pen, y, line);
            next = after;
        }
        endLine(*mesh, quads, quadsBefore, lines);
        y = lineBottom;
        if (quads.size() > quadsBefore) ++line;
        // A glyph wider than the box fits on no line: the lines below would stay empty.
        if (next == lineStart && !endedByLineFeed) break;
    }
    quads.finish();
    TextMesh::alignLines(AlignEachLine, *mesh, lines, box, anchor, true);
    return mesh;
}

TextMeshPtr Font::buildWrappedText(std::string* remainder, const Font& font, const std::string& text,
                                   const fpRect& box, CompassAnchor anchor, int mode) {
    TextMeshPtr mesh = newMesh(font, text);
    const std::string marker = remainder ? cleanUtf8(*remainder) : std::string();
    PlacedQuads quads(mesh->quads, mesh->text.size() + marker.size());
    std::vector<TextLineExtent> lines;
    const float markerWidth = remainder ? static_cast<float>(measureText(marker, font)) : 0.0f;
    // Copied out of the font and the box: the quads' stores could otherwise change them.
    const float lineHeight = static_cast<float>(font.lineHeight);
    const float boxWidth = box.w;
    const bool blankBreaks = breaksAtBlanks();
    lines.reserve(lineRoom(box.h, lineHeight));

    const char* next = mesh->text.data();
    const char* const end = next + mesh->text.size();
    float y = 0.0f;
    std::int32_t line = 0;
    while (next != end) {
        if (box.h < y + lineHeight) break;
        const bool lastLine = box.h < y + 2.0f * lineHeight;
        const float reserved = lastLine ? markerWidth : 0.0f;
        while (next != end && *next == Blank) ++next;
        const char* const lineStart = next;
        const std::size_t quadsBefore = quads.size();
        // The quads before the line's last blank: one per code point, so the line keeps
        // these when it breaks there, without counting its bytes again. The line's extent
        // grows as its glyphs are placed (as TextMesh::measureLine would find it), and is
        // kept as it stood at the blank too.
        std::size_t quadsBeforeBlank = quadsBefore;
        TextLineExtent extent = emptyLineExtent();
        TextLineExtent extentBeforeBlank = extent;
        Pen pen;
        while (next != end) {
            const char* after;
            const std::uint32_t codePoint = codePointAt(next, after);
            if (codePoint == LineFeed) {
                next = after;
                break;
            }
            const Glyph& glyph = font.findGlyph(codePoint);
            if (fits(boxWidth, glyph, pen, reserved)) {
                if (codePoint == static_cast<std::uint32_t>(Blank)) {
                    quadsBeforeBlank = quads.size();
                    extentBeforeBlank = extent;
                }
                grow(extent, place(quads, font, glyph, codePoint, pen, y, line), lineHeight);
                next = after;
                continue;
            }
            if (blankBreaks) {
                // Back over this line's glyphs to the blank before the word that overflows.
                // A blank byte is always a whole code point, so the bytes can be searched.
                const char* blank = next;
                while (blank > lineStart && *blank != Blank) --blank;
                if (*blank == Blank) {
                    // A blank before `next` is the last one placed.
                    if (blank != next) {
                        quads.backTo(quadsBeforeBlank);
                        extent = extentBeforeBlank;
                    }
                    next = blank + 1;
                    break;
                }
            }
            // No blank to break at: a line with glyphs ends before the overflowing one; an
            // empty line takes it anyway, so every line makes progress.
            if (quads.size() == quadsBefore) {
                grow(extent, place(quads, font, glyph, codePoint, pen, y, line), lineHeight);
                next = after;
            }
            break;
        }
        if (quads.size() > quadsBefore) lines.push_back(lineOf(extent, quadsBefore, quads.size() - quadsBefore));
        if (lastLine) break;
        y += lineHeight;
        if (quads.size() > quadsBefore) ++line;
    }

    if (remainder) {
        if (next == end || quads.empty()) {
            remainder->clear();
        } else {
            // The marker ends the last line; its bounds measure kerning from the line's last
            // glyph with area.
            const GlyphQuad& last = quads.end()[-1];
            Pen pen;
            pen.x = truncated(last.x + last.glyph->width);
            for (const GlyphQuad* quad = quads.end(); quad != quads.begin() && quad[-1].line == last.line; --quad) {
                if (quad[-1].hasArea) {
                    pen.previousWithArea = static_cast<std::int32_t>(quad[-1].codePoint);
                    break;
                }
            }
            const std::int32_t markerLine = last.line;
            const std::size_t markerFirst = lines.back().first;
            const char* const markerEnd = marker.data() + marker.size();
            for (const char* at = marker.data(); at != markerEnd;) {
                const std::uint32_t codePoint = codePointAt(at, at);
                if (codePoint == LineFeed) break;
                place(quads, font, font.findGlyph(codePoint), codePoint, pen, y, markerLine, true);
            }
            lines.back() = mesh->measureLine(markerFirst, quads.size() - markerFirst);
            // The rest of the cleaned text, as bytes: it is not decoded here.
            *remainder = mesh->text.substr(static_cast<std::size_t>(next - mesh->text.data()));
        }
    }
    quads.finish();
    TextMesh::alignLines(mode, *mesh, lines, box, anchor, true);
    return mesh;
}

} // namespace zor
