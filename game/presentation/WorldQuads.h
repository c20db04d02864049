#pragma once
// The world quad batch as the level's passes fill it: each quad claimed for a texture opens
// a run only where the texture changes, and a full batch is flushed through the owner's
// callback before the next quad instead of dropping it.

#include "Framework/graphics/batch/CommonBatch.h"

#include <functional>

namespace zor::presentation {

class WorldQuads {
public:
    // `flushFull` draws and empties the batch; it runs only when the batch is full.
    WorldQuads(CommonBatch& batch, std::function<void(CommonBatch&)> flushFull);

    CommonBatch& batch() { return m_batch; }
    // The slot of one more quad of the texture, which the caller writes whole.
    Quad& claim(const Texture& texture);
    void add(const Texture& texture, const Quad& quad) { claim(texture) = quad; }
    // For callers that queue through the batch itself: draws and empties it now.
    void flushFull() { m_flushFull(m_batch); }

private:
    CommonBatch& m_batch;
    std::function<void(CommonBatch&)> m_flushFull;
};

// The depth z at which an authored level depth d is drawn: d^3 * 40 / (2 * the viewport's
// virtual width); 0 is the game plane.
float levelDepthToZ(float depth, float virtualWidth);

} // namespace zor::presentation
