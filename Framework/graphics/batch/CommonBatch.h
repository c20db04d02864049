#pragma once
// The part of a quad batch that never touches OpenGL: quad storage, texture runs and the
// corner maths. Every quad's corners are transformed here, on the CPU, so a whole batch
// costs one upload and one draw call per run of quads sharing a GL texture.
//
// drawPlaced is the hot path: inline, no virtual call, the quad's placement composed with
// the batch transform in a few products and the four vertices written together. The
// drawing interface's operations give the same vertices, bit for bit (for finite
// numbers), through the same path.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "Framework/graphics/batch/ITextureBatch.h"
#include "Framework/graphics/batch/PlaneTransform.h"
#include "Framework/graphics/batch/Quad.h"
#include "Framework/graphics/batch/QuadWriter.h"
#include "Framework/graphics/batch/Transform2D.h"
#include "Framework/graphics/texture/Texture.h"

namespace zor {

// (rw, rh, rw, rh): what texture coordinates are scaled by.
inline quadwriter::Float4 reciprocalsOf(const Texture::CachedTexture& record) {
    return quadwriter::Float4{record.reciprocalWidth, record.reciprocalHeight, record.reciprocalWidth,
                              record.reciprocalHeight};
}

// The quad CommonBatch::drawPlaced writes under a plane transform that is not General, for
// a texture of the given reciprocals.
[[gnu::always_inline]] inline void writePlaced(Quad& quad, const PlaneTransform& plane,
                                              quadwriter::Float4 reciprocals,
                                              const quadwriter::PlacementLanes& placement, const fpRect& source,
                                              const fpVector2& pivot, PackedColor color, unsigned flags) {
    quadwriter::Corners corners = quadwriter::place(quadwriter::localCorners(source, pivot), plane.apply(placement));
    if (flags & QuadSnap) quadwriter::snap(corners);
    quadwriter::write(quad, corners, color,
                      quadwriter::texCoords(source, reciprocals, flags & QuadMirrorX, flags & QuadMirrorY));
}

// One quad of a run drawn by CommonBatch::drawMoved: its move and source rectangle.
struct MovedQuad {
    float tx;
    float ty;
    fpRect source;
};

// Quads from firstQuad up to the next run's first quad share the texture. The texture is
// not owned.
struct TextureRun {
    int firstQuad;
    const Texture* texture;
};

// The runs of a batch, in order; valid until the batch changes.
class TextureRuns {
public:
    TextureRuns(const TextureRun* first, std::size_t count) : m_first(first), m_count(count) {}
    std::size_t size() const { return m_count; }
    bool empty() const { return m_count == 0; }
    const TextureRun& operator[](std::size_t index) const { return m_first[index]; }
    const TextureRun& front() const { return m_first[0]; }
    const TextureRun& back() const { return m_first[m_count - 1]; }
    const TextureRun* begin() const { return m_first; }
    const TextureRun* end() const { return m_first + m_count; }

private:
    const TextureRun* m_first;
    std::size_t m_count;
};

class CommonBatch : public ITextureBatch {
public:
    CommonBatch(int capacity, float depth);
    ~CommonBatch() override;
    CommonBatch(const CommonBatch&) = delete;
    CommonBatch& operator=(const CommonBatch&) = delete;

    void drawMatrix(const Texture& texture, const fpMatrix4& transform, const fpRect& source,
                    const PackedColor& color, const std::uint32_t& reserved, const fpVector2& pivot,
                    unsigned flags) override;
    void drawRegion(const Texture& texture, const fpVector2& position, const fpRect& source,
                    const PackedColor& color, const std::uint32_t& reserved, float rotation, const fpVector2& pivot,
                    const fpVector2& scale, unsigned flags, float depth) override;
    void drawTexture(const Texture& texture, const fpVector2& position, const PackedColor& color,
                     const std::uint32_t& reserved, float rotation, const fpVector2& pivot, const fpVector2& scale,
                     unsigned flags, float depth) override;
    void drawAt(const Texture& texture, const fpVector2& position, const PackedColor& color) override;
    void drawRotated(const Texture& texture, const fpVector2& position, float rotation) override;
    void drawWhite(const Texture& texture, const fpVector2& position) override;
    CommonBatch* commonBatch() override { return this; }

    // Queues the source rectangle placed by the batch transform x `placement`, the pivot
    // at the placement's origin: the same quad as drawMatrix with toMatrix(placement).
    void drawPlaced(const Texture& texture, const Affine2D& placement, const fpRect& source, const fpVector2& pivot,
                    PackedColor color, unsigned flags);
    // Queues `count` quads of one texture whose placements differ only in their move, as
    // text meshes draw their glyphs: quad i is drawPlaced(texture, `shared` moved to
    // each(i).tx and .ty, each(i).source, no pivot, color, no flags), but the batch's
    // state is read once for the run rather than after every quad written.
    template <class Each>
    void drawMoved(const Texture& texture, const Affine2D& shared, std::size_t count, PackedColor color, Each each);
    // Queues an untransformed rectangle (x, y, w, h) at the given depth.
    void addTexturedRect(const Texture& texture, const fpRect& destination, const fpRect& source,
                         const PackedColor& color, float depth);
    // Makes the texture the one the next quads join, opening a run when its GL name differs
    // from the current one or when no run is open yet. A run left without quads takes the
    // new texture instead of a run of its own, so the runs never outnumber the quads.
    void setTexture(const Texture& texture);
    // Queues four ready-made vertices. Opens no run: the quad joins the texture last opened.
    void addQuad(const Quad& quad);
    // Room for `count` quads of the texture in a row, which the caller writes: where they
    // go and how many fit (the rest are counted as dropped). The runs are those that drawing
    // them one by one would give.
    Quad* claimQuads(const Texture& texture, int count, int& fitting);
    // Forgets the queued quads and their runs; the current texture stays.
    void discardQuads();

    // Applied to every quad queued afterwards; identity at construction.
    void setTransform(const fpMatrix4& transform);
    const fpMatrix4& transform() const { return m_transform; }
    // 0 under the identity; otherwise a number no other transform set in the process has:
    // quads written by one batch fit every batch of the same serial.
    std::uint64_t transformSerial() const { return m_transformSerial; }
    const PlaneTransform& plane() const { return m_plane; }

    int count() const { return m_count; }
    int capacity() const { return m_capacity; }
    const Quad* quads() const { return m_storage; }
    TextureRuns runs() const { return {m_runs.get(), m_runCount}; }
    // Quads that did not fit since the batch was made; they are not drawn.
    std::uint64_t droppedQuads() const { return m_dropped; }

    // The z of the drawing forms that take no depth.
    float depth;

protected:
    // No current texture: the next quad opens a run whatever its texture.
    void clearCurrentTexture();
    // Where quads are written from now on (room for the capacity; null: the batch's own
    // array). The caller changes it only while the batch is empty.
    void writeInto(Quad* storage) { m_storage = storage ? storage : m_quads.get(); }
    bool writesOwnArray() const { return m_storage == m_quads.get(); }

    // The run that ends the last one at flush. (A batch kept for drawRuns takes no more
    // quads, so the array always has room for it.)
    void closeRuns() {
        if (m_runCount <= static_cast<std::size_t>(m_capacity)) m_runs[m_runCount++] = {m_count, nullptr};
    }

    std::unique_ptr<Quad[]> m_quads;
    Quad* m_storage;
    int m_count = 0;
    int m_capacity;
    unsigned m_currentTexture = 0;
    bool m_transformChanged = false;

private:
    // The next slot; the caller has checked there is room. A texture whose GL name
    // differs from the current one opens a run. The GL name and the texture's reciprocal
    // size are read once per texture handle met in a row: a texture's GL name does not
    // change while the batch holds quads.
    Quad& claimQuad(const Texture& texture);
    // Inline and without calls, so that the hot path keeps its numbers in registers.
    void switchTexture(const Texture& texture);
    void countDropped();
    // A placement under a transform without shortcut: the 4x4 product. Everything comes
    // by value, in registers: what the hot path hands out by address, every quad written
    // afterwards (stored through bytes) would make it read again.
    void drawPlacedGenerally(const Texture& texture, quadwriter::Float4 linear, quadwriter::Float4 move, float z,
                             fpRect source, fpVector2 pivot, PackedColor color, unsigned flags);
    void drawTransformed(const Texture& texture, const fpMatrix4& transform, const fpRect& source,
                         const fpVector2& pivot, PackedColor color, unsigned flags);

    // One run per quad at most, and the closing one: appending never allocates.
    std::unique_ptr<TextureRun[]> m_runs;
    std::size_t m_runCount = 0;
    fpMatrix4 m_transform;
    PlaneTransform m_plane{fpMatrix4()};
    std::uint64_t m_transformSerial = 0;
    const Texture* m_runTexture = nullptr;
    quadwriter::Float4 m_runReciprocals{};  // (rw, rh, rw, rh) of m_runTexture
    std::uint64_t m_dropped = 0;
};

inline void CommonBatch::switchTexture(const Texture& texture) {
    const Texture::CachedTexture& record = *texture.cached();
    if (record.glTexture != m_currentTexture) {
        m_runs[m_runCount++] = {m_count, &texture};
        m_currentTexture = record.glTexture;
    }
    m_runTexture = &texture;
    m_runReciprocals = reciprocalsOf(record);
}

inline Quad& CommonBatch::claimQuad(const Texture& texture) {
    if (&texture != m_runTexture) switchTexture(texture);
    return m_storage[m_count++];
}

// Always inlined: its callers loop over many quads, and GCC's size limit would otherwise
// turn the hot path into a call that keeps the placement in memory.
[[gnu::always_inline]] inline void CommonBatch::drawPlaced(const Texture& texture, const Affine2D& placement, const fpRect& source,
                                    const fpVector2& pivot, PackedColor color, unsigned flags) {
    if (m_count >= m_capacity) return countDropped();
    const quadwriter::PlacementLanes lanes = quadwriter::lanesOf(placement);
    if (m_plane.kind() == PlaneTransform::General)
        return drawPlacedGenerally(texture, lanes.linear, lanes.move, lanes.z, source, pivot, color, flags);
    // The slot first: a texture switch calls out, and no vector is live across the call.
    Quad& quad = claimQuad(texture);
    writePlaced(quad, m_plane, m_runReciprocals, lanes, source, pivot, color, flags);
}

inline Quad* CommonBatch::claimQuads(const Texture& texture, int count, int& fitting) {
    const int room = m_capacity - m_count;
    fitting = count < room ? count : room;
    if (fitting < 0) fitting = 0;
    for (int i = fitting; i < count; ++i) countDropped();
    if (fitting == 0) return nullptr;
    if (&texture != m_runTexture) switchTexture(texture);
    Quad* const first = m_storage + m_count;
    m_count += fitting;
    return first;
}

template <class Each>
[[gnu::always_inline]] inline void CommonBatch::drawMoved(const Texture& texture, const Affine2D& shared,
                                                          std::size_t count, PackedColor color, Each each) {
    const fpVector2 pivot;
    if (m_plane.kind() == PlaneTransform::General) {
        for (std::size_t i = 0; i < count; ++i) {
            const MovedQuad moved = each(i);
            drawPlaced(texture, Affine2D{shared.xx, shared.yx, shared.xy, shared.yy, moved.tx, moved.ty, shared.z},
                       moved.source, pivot, color, 0);
        }
        return;
    }
    const std::size_t room = m_count < m_capacity ? static_cast<std::size_t>(m_capacity - m_count) : 0;
    const std::size_t fitting = count < room ? count : room;
    if (fitting > 0) {
        if (&texture != m_runTexture) switchTexture(texture);
        // Locals, which the quads' stores cannot change: the loop keeps them in registers.
        Quad* const out = m_storage + m_count;
        m_count += static_cast<int>(fitting);
        const PlaneTransform plane = m_plane;
        const quadwriter::Float4 reciprocals = m_runReciprocals;
        const auto writeRun = [&](const PlaneTransform& transform) [[gnu::always_inline]] {
            for (std::size_t i = 0; i < fitting; ++i) {
                const MovedQuad moved = each(i);
                const quadwriter::PlacementLanes lanes = transform.apply(quadwriter::lanesOf(
                    Affine2D{shared.xx, shared.yx, shared.xy, shared.yy, moved.tx, moved.ty, shared.z}));
                quadwriter::write(out[i], quadwriter::place(quadwriter::localCorners(moved.source, pivot), lanes),
                                  color, quadwriter::texCoords(moved.source, reciprocals, false, false));
            }
        };
        // A loop for each kind, which then knows it: under the identity, the shared part
        // of the placement is formed once.
        if (plane.kind() == PlaneTransform::Identity)
            writeRun(plane);
        else
            writeRun(plane);
    }
    for (std::size_t i = fitting; i < count; ++i) countDropped();
}

} // namespace zor
