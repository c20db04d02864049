#include "game/presentation/WorldQuads.h"

namespace zor::presentation {

WorldQuads::WorldQuads(CommonBatch& batch, std::function<void(CommonBatch&)> flushFull)
    : m_batch(batch), m_flushFull(std::move(flushFull)) {}

Quad& WorldQuads::claim(const Texture& texture) {
    if (m_batch.count() >= m_batch.capacity()) m_flushFull(m_batch);
    // After a flush the batch has no run, whatever texture it drew last: setTexture opens one.
    m_batch.setTexture(texture);
    int fitting = 0;
    return *m_batch.claimQuads(texture, 1, fitting);
}

float levelDepthToZ(float depth, float virtualWidth) {
    return depth * depth * depth * 40.0f / (2.0f * virtualWidth);
}

} // namespace zor::presentation
