#pragma once
// The quads of a root sprite's tree, kept between frames. Every node with an image owns a
// quad, rewritten whenever the node's placement, colour or image changes, under the plane
// of the batches the root draws into; a draw copies the quads of the nodes it shows, in
// the order it shows them, while that order stands. The quads lie in the order the tree
// draws its nodes, so that a tree showing them all copies one block per texture.
//
// A tree all of whose shown quads change between draws gains nothing by them: after a few
// such draws in a row it rests for a while, drawn directly, its nodes writing no quads.

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "Framework/graphics/batch/CommonBatch.h"

namespace zor {

class SpriteKeptQuads {
public:
    explicit SpriteKeptQuads(int nodes) : m_quads(new Quad[static_cast<std::size_t>(nodes)]) {}

    enum class Use {
        Copy,   // the draw copies the kept quads
        Rest,   // the tree starts resting: its nodes are to stop writing quads
        Direct, // the draw places the quads itself
    };
    // Decides, once per draw, how the draw goes.
    Use useForDraw() {
        if (m_restingDraws > 0) {
            if (--m_restingDraws > 0) return Use::Direct;
            m_current = false;
            return Use::Copy;
        }
        const int written = m_written;
        m_written = 0;
        m_churn = written > 0 && written >= m_shownCount ? m_churn + 1 : 0;
        if (m_churn < kChurnDraws) return Use::Copy;
        m_churn = 0;
        m_restingDraws = kRestDraws;
        return Use::Rest;
    }
    // Whether every quad is written for the present tree: not before the first draw nor
    // after a rest.
    bool current() const { return m_current; }
    // Every node's quad has just been written.
    void markCurrent() {
        m_current = true;
        m_written = 0;
    }

    // Whether quads can be kept for the batch: not under a general transform.
    static bool keepsFor(const CommonBatch& batch) { return batch.plane().kind() != PlaneTransform::General; }
    // Whether the quads are those of the batch's transform.
    bool writtenFor(const CommonBatch& batch) const { return m_serial == batch.transformSerial(); }
    // Quads written from now on are for the batch's transform.
    void writeFor(const CommonBatch& batch) {
        m_plane = batch.plane();
        m_serial = batch.transformSerial();
    }

    // The quad of the slot-th node with an image, in draw order.
    Quad& quad(int slot) { return m_quads[static_cast<std::size_t>(slot)]; }
    // The quad CommonBatch::drawPlaced queues with no flags.
    void place(Quad& quad, const Texture& texture, const Affine2D& placement, const fpRect& source,
               const fpVector2& pivot, PackedColor color) const {
        ++m_written;
        writePlaced(quad, m_plane, reciprocalsOf(*texture.cached()), quadwriter::lanesOf(placement), source, pivot,
                    color, 0);
    }

    // The order in which the quads are drawn: runs of neighbouring quads of one texture.
    void clearShown() {
        m_spans.clear();
        m_shownCount = 0;
    }
    void show(const Quad& quad, const Texture& texture) {
        const int slot = static_cast<int>(&quad - m_quads.get());
        ++m_shownCount;
        if (!m_spans.empty()) {
            Span& last = m_spans.back();
            if (last.texture == &texture && last.first + last.count == slot) {
                ++last.count;
                return;
            }
        }
        m_spans.push_back({slot, 1, &texture});
    }
    // Queues the shown quads.
    void drawInto(CommonBatch& batch) const {
        for (const Span& span : m_spans) {
            int fitting = 0;
            Quad* out = batch.claimQuads(*span.texture, span.count, fitting);
            if (fitting == 0) continue;
            std::memcpy(out, &m_quads[static_cast<std::size_t>(span.first)], sizeof(Quad) * std::size_t(fitting));
        }
    }

private:
    static constexpr int kChurnDraws = 4;
    static constexpr int kRestDraws = 30;

    std::unique_ptr<Quad[]> m_quads;
    mutable int m_written = 0;  // quads placed since the last draw
    int m_churn = 0;  // draws in a row after which every shown quad had changed
    int m_restingDraws = 0;  // left of a rest
    bool m_current = false;
    PlaneTransform m_plane{fpMatrix4()};
    std::uint64_t m_serial = 0;  // of the identity, which a new batch has
    struct Span {
        int first;  // slot
        int count;
        const Texture* texture;
    };
    std::vector<Span> m_spans;
    int m_shownCount = 0;
};

} // namespace zor
