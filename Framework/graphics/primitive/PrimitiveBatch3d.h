#pragma once
// The 3-D counterpart of the primitive batch. Nothing queues 3-D shapes yet; its flush
// only leaves no program bound.

#include "Framework/graphics/render/RenderState.h"
#include "Framework/graphics/screen/BatchTransform.h"

namespace zor {

class CommonPrimitiveBatch3d {
public:
    CommonPrimitiveBatch3d() = default;
    virtual ~CommonPrimitiveBatch3d() = default;
    CommonPrimitiveBatch3d(const CommonPrimitiveBatch3d&) = delete;
    CommonPrimitiveBatch3d& operator=(const CommonPrimitiveBatch3d&) = delete;

    virtual void flush() = 0;

    BatchTransform transform;
    BlendMode blendMode = 1;
    bool transformChanged = false;
};

class PrimitiveBatch3d : public CommonPrimitiveBatch3d {
public:
    void flush() override;
};

} // namespace zor
