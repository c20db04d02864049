#include "Framework/graphics/screen/Projection.h"

#include "Framework/graphics/screen/Screen.h"

#include <cmath>

namespace zor {

namespace {

fpMatrix4 zeroMatrix() {
    fpMatrix4 matrix;
    for (float& element : matrix.m) element = 0.0f;
    return matrix;
}

} // namespace

float aspectRatio(const fpRect& rect) { return rect.h > 0.0f ? rect.w / rect.h : 0.0f; }

fpMatrix4 orthoMatrix(float left, float right, float bottom, float top, float zn, float zf) {
    fpMatrix4 matrix = zeroMatrix();
    matrix[0] = 2.0f / (right - left);
    matrix[5] = 2.0f / (top - bottom);
    matrix[10] = 1.0f / (zn - zf);
    matrix[12] = (left + right) / (left - right);
    matrix[13] = (top + bottom) / (bottom - top);
    matrix[14] = zn / (zn - zf);
    matrix[15] = 1.0f;
    return matrix;
}

fpMatrix4 perspectiveMatrix(float fieldOfViewY, float aspect, float zn, float zf) {
    const float f = 1.0f / std::tan(fieldOfViewY / 2.0f);
    fpMatrix4 matrix = zeroMatrix();
    matrix[0] = f / aspect;
    matrix[5] = f;
    matrix[10] = zf / (zn - zf);
    matrix[11] = -1.0f;
    matrix[14] = zn * zf / (zn - zf);
    return matrix;
}

fpMatrix4 screenOrtho(float zn, float zf) {
    const Screen::Viewport& viewport = Screen::currentViewport();
    const fpMatrix4 ortho =
        orthoMatrix(0.0f, float(viewport.width), float(viewport.height), 0.0f, zn, zf);
    fpMatrix4 result;
    ortho.multiply(fpMatrix4::translation(viewport.offsetX, viewport.offsetY, 0.0f), result);
    result.multiply(fpMatrix4::scaling(viewport.scale, viewport.scale, 1.0f), result);
    return result;
}

} // namespace zor
