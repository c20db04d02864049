#pragma once
// A laid-out piece of text: one quad per glyph, grouped in lines and aligned in a box.
// Built by the Font layouts, aligned once and then drawn every frame; to change the
// text, build a new mesh. Meshes are shared through an intrusive count and come from the
// locked pools, since debug texts are laid out on any thread.

#include "Framework/core/math/Anchor.h"
#include "Framework/core/math/Color.h"
#include "Framework/core/math/Matrix4.h"
#include "Framework/core/math/Rect.h"
#include "Framework/core/memory/DefaultInitAllocator.h"
#include "Framework/core/memory/PooledObject.h"
#include "Framework/graphics/font/Glyph.h"

#include <boost/intrusive_ptr.hpp>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace zor {

class Font;
class ITextureBatch;

// One placed glyph, 40 bytes: what drawing reads first. Every glyph of a mesh comes from
// the mesh's font. A plain record, left unset until a layout writes every field: a layout
// makes room for as many quads as the text could need, which it need not clear first.
struct GlyphQuad {
    // Relative to the text origin, before alignment.
    float x;
    float y;
    // Set by alignment.
    float offsetX;
    float offsetY;
    const Glyph* glyph;
    std::uint32_t codePoint;
    // Counts only lines that received glyphs.
    std::int32_t line;
    // Kept by the layout for bounds and alignment, so they need no kerning lookups. Only
    // glyphs with an area count in bounds; for those: the kerning from the previous such
    // glyph of the line (from none at its start), which places the glyph from its pen
    // (glyphPen); 0 for the others.
    float kerning;
    bool hasArea;
};

using GlyphQuads = std::vector<GlyphQuad, DefaultInitAllocator<GlyphQuad>>;

// The pen the layout placed a glyph with area from, before alignment: x - (glyph offset x
// + kerning), y - glyph offset y.
struct GlyphPen {
    float x;
    float y;
};
inline GlyphPen glyphPen(const GlyphQuad& quad) {
    return {quad.x - (quad.glyph->offsetX + quad.kerning), quad.y - quad.glyph->offsetY};
}

// The extent of one line's glyphs with area by their pens and advances, before alignment:
// the quads [first, first + count), one line index.
struct TextLineExtent {
    std::size_t first = 0;
    std::size_t count = 0;
    bool empty = true;  // no glyph with area
    float left = 0.0f;
    float top = 0.0f;
    float right = 0.0f;
    float bottom = 0.0f;
};

// Grows the extent by one glyph whose pen is (penX, penY), when it has an area. A glyph
// without one (a blank) is taken as infinitely far away, which changes no bound: no
// branch, which the mix of blanks and letters would often mispredict. Inline into loops
// over a local extent, so that its bounds stay in registers: through memory every glyph
// waits for the previous one's stores. The line height as a float, converted once.
[[gnu::always_inline]] inline void growExtent(TextLineExtent& extent, bool area, float penX, float penY,
                                              float kerning, std::int32_t advance, float lineHeight) {
    constexpr float Far = std::numeric_limits<float>::infinity();
    const float left = area ? penX : Far;
    const float top = area ? penY : Far;
    const float right = area ? penX + kerning + static_cast<float>(advance) : -Far;
    const float bottom = area ? penY + lineHeight : -Far;
    extent.empty = extent.empty && !area;
    extent.left = left < extent.left ? left : extent.left;
    extent.right = extent.right < right ? right : extent.right;
    extent.top = top < extent.top ? top : extent.top;
    extent.bottom = extent.bottom < bottom ? bottom : extent.bottom;
}

// An extent of nothing, which any glyph replaces.
TextLineExtent emptyLineExtent();

// Alignment modes: each line placed on its own, or the lines as one block.
enum TextAlignMode : std::int32_t { AlignEachLine = 0, AlignBlock = 1 };

class TextMesh : public LockedPooledObject {
public:
    explicit TextMesh(std::string text);
    TextMesh(const TextMesh&) = delete;
    TextMesh& operator=(const TextMesh&) = delete;

    // Places the quads in the box: horizontally per line (AlignEachLine) or for all lines
    // at once (any other mode), vertically as one block. Stores mode and anchor and sets
    // the bounds to the aligned glyphs.
    static void align(std::int32_t mode, TextMesh& mesh, const fpRect& box, CompassAnchor anchor);
    // The same with the lines the layout measured as it went, one per run of quads with
    // one line index, in order.
    // Quads fresh from a layout have +0 offsets already (offsetsZero), which a line whose
    // offsets are +0 too then leaves as they are.
    static void alignLines(std::int32_t mode, TextMesh& mesh, const std::vector<TextLineExtent>& lines,
                           const fpRect& box, CompassAnchor anchor, bool offsetsZero = false);
    // The extent of the quads [first, first + count), which share one line index.
    TextLineExtent measureLine(std::size_t first, std::size_t count) const;

    // Queues the first shownGlyphs quads (all when negative) through the batch, each at
    // transform x its aligned position; a transform in the plane goes through the batch's
    // own placement path.
    void draw(ITextureBatch& batch, const PackedColor& color, const fpMatrix4& transform) const;

    GlyphQuads quads;
    fpRect bounds;
    std::string text;
    std::int32_t shownGlyphs = -1;
    CompassAnchor anchor = CompassAnchor::NorthWest;
    std::int32_t mode = AlignEachLine;
    const Font* font = nullptr;

private:
    friend void intrusive_ptr_add_ref(TextMesh* mesh) { mesh->m_references.fetch_add(1, std::memory_order_relaxed); }
    friend void intrusive_ptr_release(TextMesh* mesh) {
        if (mesh->m_references.fetch_sub(1, std::memory_order_acq_rel) == 1) delete mesh;
    }

    std::atomic<std::int32_t> m_references{0};
};

using TextMeshPtr = boost::intrusive_ptr<TextMesh>;

// Whether alignment rounds its offsets to whole units (halves away from zero). On at
// program start; the start-up view set-up turns it off.
bool textPixelSnap();
void setTextPixelSnap(bool on);

} // namespace zor
