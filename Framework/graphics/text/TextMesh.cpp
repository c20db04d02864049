#include "Framework/graphics/text/TextMesh.h"

#include "Framework/graphics/batch/CommonBatch.h"
#include "Framework/graphics/batch/Transform2D.h"
#include "Framework/graphics/font/Font.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <utility>

namespace zor {

namespace {

std::atomic<bool> g_pixelSnap{true};

float snapped(float offset) { return g_pixelSnap.load(std::memory_order_relaxed) ? std::round(offset) : offset; }

constexpr float Largest = std::numeric_limits<float>::max();

[[gnu::always_inline]] inline void include(TextLineExtent& extent, const GlyphQuad& quad, float moveX, float moveY,
                                           float lineHeight) {
    const GlyphPen pen = glyphPen(quad);
    growExtent(extent, quad.hasArea, pen.x + moveX, pen.y + moveY, quad.kerning, quad.glyph->advance, lineHeight);
}

void unite(TextLineExtent& into, const TextLineExtent& line) {
    if (line.empty) return;
    into.empty = false;
    into.left = std::min(into.left, line.left);
    into.top = std::min(into.top, line.top);
    into.right = std::max(into.right, line.right);
    into.bottom = std::max(into.bottom, line.bottom);
}

bool isPositiveZero(float value) { return value == 0.0f && !std::signbit(value); }

fpRect rectOf(const TextLineExtent& extent) {
    if (extent.empty) return fpRect();
    return fpRect(extent.left, extent.top, extent.right - extent.left, extent.bottom - extent.top);
}

} // namespace

TextLineExtent emptyLineExtent() {
    TextLineExtent extent;
    extent.left = extent.top = Largest;
    extent.right = extent.bottom = -Largest;
    return extent;
}

bool textPixelSnap() { return g_pixelSnap.load(std::memory_order_relaxed); }

void setTextPixelSnap(bool on) { g_pixelSnap.store(on, std::memory_order_relaxed); }

TextMesh::TextMesh(std::string content) : text(std::move(content)) {}

TextLineExtent TextMesh::measureLine(std::size_t first, std::size_t count) const {
    TextLineExtent extent = emptyLineExtent();
    const float lineHeight = font ? static_cast<float>(font->lineHeight) : 0.0f;
    for (std::size_t i = first; i < first + count; ++i) {
        const GlyphQuad& quad = quads[i];
        const GlyphPen pen = glyphPen(quad);
        growExtent(extent, quad.hasArea, pen.x, pen.y, quad.kerning, quad.glyph->advance, lineHeight);
    }
    extent.first = first;
    extent.count = count;
    return extent;
}

void TextMesh::align(std::int32_t mode, TextMesh& mesh, const fpRect& box, CompassAnchor anchor) {
    std::vector<TextLineExtent> lines;
    const GlyphQuads& quads = mesh.quads;
    for (std::size_t first = 0; first < quads.size();) {
        std::size_t end = first + 1;
        while (end < quads.size() && quads[end].line == quads[first].line) ++end;
        lines.push_back(mesh.measureLine(first, end - first));
        first = end;
    }
    alignLines(mode, mesh, lines, box, anchor);
}

void TextMesh::alignLines(std::int32_t mode, TextMesh& mesh, const std::vector<TextLineExtent>& lines,
                          const fpRect& box, CompassAnchor anchor, bool offsetsZero) {
    mesh.mode = mode;
    mesh.anchor = anchor;
    TextLineExtent all = emptyLineExtent();
    for (const TextLineExtent& line : lines) unite(all, line);
    const fpVector2 block = anchorPosition(box, rectOf(all).size(), anchor);
    const float y = snapped(block.y);

    // One pass places every quad and measures the aligned glyphs.
    const float lineHeight = mesh.font ? static_cast<float>(mesh.font->lineHeight) : 0.0f;
    TextLineExtent aligned = emptyLineExtent();
    for (const TextLineExtent& line : lines) {
        const float x = snapped(mode == AlignEachLine ? anchorPosition(box, rectOf(line).size(), anchor).x : block.x);
        if (isPositiveZero(x) && isPositiveZero(y)) {
            // Adding +0 leaves every pen as it is (none is -0, and the fonts' numbers are
            // finite): the line's glyphs stay where it was measured.
            if (!offsetsZero) {
                for (std::size_t i = line.first; i < line.first + line.count; ++i) {
                    mesh.quads[i].offsetX = x;
                    mesh.quads[i].offsetY = y;
                }
            }
            unite(aligned, line);
            continue;
        }
        for (std::size_t i = line.first; i < line.first + line.count; ++i) {
            GlyphQuad& quad = mesh.quads[i];
            quad.offsetX = x;
            quad.offsetY = y;
            include(aligned, quad, x, y, lineHeight);
        }
    }
    mesh.bounds = rectOf(aligned);
}

void TextMesh::draw(ITextureBatch& batch, const PackedColor& color, const fpMatrix4& transform) const {
    const std::size_t count = shownGlyphs < 0 ? quads.size() : std::min(quads.size(), std::size_t(shownGlyphs));
    if (count == 0 || !font || !font->texture) return;
    // The layouts place every glyph with the mesh's font: one texture for all.
    const Texture& texture = *font->texture;
    CommonBatch* direct = batch.commonBatch();
    if (direct && isPlacement(transform)) {
        // transform x translation(x, y, 0) as fpMatrix4::multiply forms it: the linear part
        // and the depth as they are (a negative zero made positive), the move through the
        // linear part and then the transform's own. Everything copied out: a quad is stored
        // through bytes, which the compiler would take for the transform's or the mesh's,
        // to be read again after every glyph.
        const float xx = transform[0], yx = transform[1], xy = transform[4], yy = transform[5];
        const Affine2D shared{xx + 0.0f, yx + 0.0f, xy + 0.0f, yy + 0.0f, 0.0f, 0.0f, transform[14] + 0.0f};
        const float moveX = transform[12] + 0.0f;
        const float moveY = transform[13] + 0.0f;
        const GlyphQuad* const first = quads.data();
        const auto sourceOf = [](const Glyph& glyph) { return fpRect(glyph.x, glyph.y, glyph.width, glyph.height); };
        if (xx == 1.0f && yx == 0.0f && xy == 0.0f && yy == 1.0f && moveX == 0.0f && moveY == 0.0f) {
            // Text drawn where it was laid out. The products and sums then only make a -0
            // position +0, as adding +0 does (the positions are finite).
            direct->drawMoved(texture, shared, count, color, [=](std::size_t i) {
                const GlyphQuad& quad = first[i];
                return MovedQuad{(quad.x + quad.offsetX) + 0.0f, (quad.y + quad.offsetY) + 0.0f, sourceOf(*quad.glyph)};
            });
            return;
        }
        direct->drawMoved(texture, shared, count, color, [=](std::size_t i) {
            const GlyphQuad& quad = first[i];
            const float x = quad.x + quad.offsetX;
            const float y = quad.y + quad.offsetY;
            return MovedQuad{(xx * x + xy * y) + moveX, (yx * x + yy * y) + moveY, sourceOf(*quad.glyph)};
        });
        return;
    }
    // A local rather than fpVector2::zero(): a call per glyph would spill the placement.
    const fpVector2 origin;
    const std::uint32_t reserved = 0;
    fpMatrix4 placed;
    for (std::size_t i = 0; i < count; ++i) {
        const GlyphQuad& quad = quads[i];
        const Glyph& glyph = *quad.glyph;
        transform.multiply(fpMatrix4::translation(quad.x + quad.offsetX, quad.y + quad.offsetY, 0.0f), placed);
        batch.drawMatrix(texture, placed, fpRect(glyph.x, glyph.y, glyph.width, glyph.height), color,
                         reserved, origin, 0);
    }
}

} // namespace zor
