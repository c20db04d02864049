#pragma once
// The transform block of a batch or a 3-D view: a projection, a model-view and their
// product. The batches hand the changed flag to their effect when they draw.

#include "Framework/core/math/Matrix4.h"
#include "Framework/core/math/Vector.h"

namespace zor {

// The eye shift of stereo renders: half the eye distance in view units, and the matching
// shift of the projection's centre.
constexpr float StereoEyeShift = 0.06523f;
constexpr float StereoProjectionShift = 0.130469f;

struct BatchTransform {
    fpMatrix4 projection;
    fpMatrix4 modelView;
    fpMatrix4 combined;  // projection x model-view
    bool changed = false;

    // The current viewport's screen projection.
    void setScreen(const fpMatrix4& view, float zn, float zf);
    // An orthographic projection of a plane of the given size (render targets).
    void setOrthoSize(const fpVector2& size, const fpMatrix4& view, float zn, float zf);
    // A perspective over the current viewport's visible area, shifted for the current
    // stereo eye.
    void setPerspectiveStereo(const fpMatrix4& view, float fieldOfViewY, float zn, float zf);
    // The same from a horizontal field of view.
    void setPerspective(const fpMatrix4& view, float fieldOfViewX, float zn, float zf);

private:
    void combine();
};

} // namespace zor
