#include "Framework/graphics/screen/BatchTransform.h"

#include "Framework/graphics/screen/Projection.h"
#include "Framework/graphics/screen/Screen.h"

#include <cmath>

namespace zor {

void BatchTransform::combine() { projection.multiply(modelView, combined); }

void BatchTransform::setScreen(const fpMatrix4& view, float zn, float zf) {
    projection = screenOrtho(zn, zf);
    modelView = view;
    combine();
    changed = true;
}

void BatchTransform::setOrthoSize(const fpVector2& size, const fpMatrix4& view, float zn, float zf) {
    projection = orthoMatrix(0.0f, size.x, size.y, 0.0f, zn, zf);
    modelView = view;
    combine();
    changed = true;
}

void BatchTransform::setPerspectiveStereo(const fpMatrix4& view, float fieldOfViewY, float zn, float zf) {
    projection = perspectiveMatrix(fieldOfViewY, aspectRatio(Screen::currentViewport().visibleArea), zn, zf);
    modelView = view;
    float eye = 0.0f;
    if (Screen::stereoMode() == Screen::StereoFirstEye) eye = 1.0f;
    if (Screen::stereoMode() == Screen::StereoSecondEye) eye = -1.0f;
    modelView[12] += eye * StereoEyeShift;
    projection[8] += eye * StereoProjectionShift;
    combine();
    changed = false;
}

void BatchTransform::setPerspective(const fpMatrix4& view, float fieldOfViewX, float zn, float zf) {
    changed = false;
    const float aspect = aspectRatio(Screen::currentViewport().visibleArea);
    const float fieldOfViewY = 2.0f * std::atan(std::tan(fieldOfViewX / 2.0f) / aspect);
    setPerspectiveStereo(view, fieldOfViewY, zn, zf);
}

} // namespace zor
