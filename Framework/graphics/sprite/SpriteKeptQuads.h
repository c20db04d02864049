#pragma once
// The quads of a root sprite's tree, kept between frames. Every node with an image owns a
// quad, rewritten whenever the node's placement, colour or image changes, under the plane
// of the batches the root draws into; a draw copies the quads of the nodes it shows, in
// the order it shows them, while that order stands.

#include <cstdint>
#include <memory>
#include <vector>

#include "Framework/graphics/batch/CommonBatch.h"

namespace zor {

class SpriteKeptQuads {
public:
    explicit SpriteKeptQuads(int nodes) : m_quads(new Quad[static_cast<std::size_t>(nodes)]) {}

    // Whether quads can be kept for the batch: not under a general transform.
    static bool keepsFor(const CommonBatch& batch) { return batch.plane().kind() != PlaneTransform::General; }
    // Whether the quads are those of the batch's transform.
    bool writtenFor(const CommonBatch& batch) const { return m_serial == batch.transformSerial(); }
    // Quads written from now on are for the batch's transform.
    void writeFor(const CommonBatch& batch) {
        m_plane = batch.plane();
        m_serial = batch.transformSerial();
    }

    Quad& quad(int node) { return m_quads[static_cast<std::size_t>(node)]; }
    // The quad CommonBatch::drawPlaced queues with no flags.
    void place(Quad& quad, const Texture& texture, const Affine2D& placement, const fpRect& source,
               const fpVector2& pivot, PackedColor color) const {
        writePlaced(quad, m_plane, reciprocalsOf(*texture.cached()), quadwriter::lanesOf(placement), source, pivot,
                    color, 0);
    }

    // The order in which the quads are drawn.
    void clearShown() {
        m_shown.clear();
        m_runs.clear();
    }
    void show(const Quad& quad, const Texture& texture) {
        if (m_runs.empty() || m_runs.back().texture != &texture)
            m_runs.push_back({static_cast<int>(m_shown.size()), &texture});
        m_shown.push_back(&quad);
    }
    // Queues the shown quads.
    void drawInto(CommonBatch& batch) const {
        for (std::size_t r = 0; r < m_runs.size(); ++r) {
            const int first = m_runs[r].firstQuad;
            const int end = r + 1 < m_runs.size() ? m_runs[r + 1].firstQuad : static_cast<int>(m_shown.size());
            int fitting = 0;
            Quad* out = batch.claimQuads(*m_runs[r].texture, end - first, fitting);
            for (int i = 0; i < fitting; ++i) out[i] = *m_shown[static_cast<std::size_t>(first + i)];
        }
    }

private:
    std::unique_ptr<Quad[]> m_quads;
    PlaneTransform m_plane{fpMatrix4()};
    std::uint64_t m_serial = 0;  // of the identity, which a new batch has
    std::vector<const Quad*> m_shown;
    std::vector<TextureRun> m_runs;  // into m_shown
};

} // namespace zor
