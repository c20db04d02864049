#pragma once
// What every effect offers the batches: matrices in, then apply before drawing.

#include "Framework/core/math/Matrix4.h"

namespace zor {

class IColorEffect {
public:
    virtual ~IColorEffect() = default;
    // Makes the effect's program current with its matrices and parameters; does nothing
    // when its shader failed.
    virtual void apply() = 0;
    virtual void setProjection(const fpMatrix4& projection) = 0;
    virtual void setModelView(const fpMatrix4& modelView) = 0;
};

} // namespace zor
