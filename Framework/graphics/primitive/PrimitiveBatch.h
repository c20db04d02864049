#pragma once
// The 2-D primitive batch: draws its shapes in the current viewport's screen projection
// through a ColorEffect. Main thread only.

#include "Framework/graphics/effects/ColorEffect.h"
#include "Framework/graphics/primitive/CommonPrimitiveBatch.h"

#include <memory>

namespace zor {

class PrimitiveBatch : public CommonPrimitiveBatch {
public:
    PrimitiveBatch();

    // A shader that failed to build draws nothing; the queue is emptied all the same.
    void flush() override;

    const ColorEffect& effect() const { return *m_effect; }

private:
    std::unique_ptr<ColorEffect> m_effect;
};

} // namespace zor
