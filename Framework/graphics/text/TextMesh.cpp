#include "Framework/graphics/text/TextMesh.h"

#include "Framework/graphics/batch/ITextureBatch.h"
#include "Framework/graphics/font/Font.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>

namespace zor {

namespace {

std::atomic<bool> g_pixelSnap{true};

float snapped(float offset) { return g_pixelSnap.load(std::memory_order_relaxed) ? std::round(offset) : offset; }

bool hasArea(const Glyph& glyph) { return glyph.width > 0.0f || glyph.height > 0.0f; }

} // namespace

bool textPixelSnap() { return g_pixelSnap.load(std::memory_order_relaxed); }

void setTextPixelSnap(bool on) { g_pixelSnap.store(on, std::memory_order_relaxed); }

TextMesh::TextMesh(const std::string& content) : text(content) {}

fpRect TextMesh::glyphRunBounds(std::size_t first, std::size_t count, bool withOffsets) const {
    constexpr float Largest = std::numeric_limits<float>::max();
    float left = Largest, top = Largest, right = -Largest, bottom = -Largest;
    const GlyphQuad* previous = nullptr;
    const std::size_t end = std::min(quads.size(), first + count);
    for (std::size_t i = first; i < end; ++i) {
        const GlyphQuad& quad = quads[i];
        if (!hasArea(*quad.glyph)) continue;
        const bool sameLine = previous && previous->line == quad.line;
        const float k = quad.font->kerning(sameLine ? static_cast<std::int32_t>(previous->codePoint) : -1, quad.codePoint);
        float penX = quad.x - (quad.glyph->offsetX + k);
        float penY = quad.y - quad.glyph->offsetY;
        if (withOffsets) {
            penX += quad.offsetX;
            penY += quad.offsetY;
        }
        left = std::min(left, penX);
        right = std::max(right, penX + k + static_cast<float>(quad.glyph->advance));
        top = std::min(top, penY);
        bottom = std::max(bottom, penY + static_cast<float>(quad.font->lineHeight));
        previous = &quad;
    }
    if (!previous) return fpRect();
    return fpRect(left, top, right - left, bottom - top);
}

void TextMesh::align(std::int32_t mode, TextMesh& mesh, const fpRect& box, CompassAnchor anchor) {
    mesh.mode = mode;
    mesh.anchor = anchor;
    std::vector<GlyphQuad>& quads = mesh.quads;

    const auto placeRun = [&](std::size_t first, std::size_t count) {
        const fpRect run = mesh.glyphRunBounds(first, count, false);
        const float x = snapped(anchorPosition(box, run.size(), anchor).x);
        for (std::size_t i = first; i < first + count; ++i) quads[i].offsetX = x;
    };
    if (mode == AlignEachLine) {
        std::size_t first = 0;
        while (first < quads.size()) {
            std::size_t end = first + 1;
            while (end < quads.size() && quads[end].line == quads[first].line) ++end;
            placeRun(first, end - first);
            first = end;
        }
    } else {
        placeRun(0, quads.size());
    }

    mesh.bounds = mesh.glyphRunBounds(0, quads.size(), false);
    const float y = snapped(anchorPosition(box, mesh.bounds.size(), anchor).y);
    for (GlyphQuad& quad : quads) quad.offsetY = y;
    mesh.bounds = mesh.glyphRunBounds(0, quads.size(), true);
}

void TextMesh::draw(ITextureBatch& batch, const PackedColor& color, const fpMatrix4& transform) const {
    const std::size_t count = shownGlyphs < 0 ? quads.size() : std::min(quads.size(), std::size_t(shownGlyphs));
    if (count == 0 || !font || !font->texture) return;
    const std::uint32_t reserved = 0;
    fpMatrix4 placed;
    for (std::size_t i = 0; i < count; ++i) {
        const GlyphQuad& quad = quads[i];
        const Glyph& glyph = *quad.glyph;
        transform.multiply(fpMatrix4::translation(quad.x + quad.offsetX, quad.y + quad.offsetY, 0.0f), placed);
        batch.drawMatrix(*quad.font->texture, placed, fpRect(glyph.x, glyph.y, glyph.width, glyph.height), color,
                         reserved, fpVector2::zero(), 0);
    }
}

} // namespace zor
