#include "game/world/Camera.h"

#include "Framework/core/math/Collision.h"
#include "Framework/core/math/Scalar.h"
#include "Framework/core/math/Segment.h"

#include <algorithm>
#include <cmath>

namespace zor {

namespace {

fpVector2 applyToPoint(const fpMatrix4& m, const fpVector2& p) {
    return {m[0] * p.x + m[4] * p.y + m[12], m[1] * p.x + m[5] * p.y + m[13]};
}

// One axis of clampToRect: the new start of the view.
float clampAxis(float viewStart, float viewExtent, float rectStart, float rectExtent) {
    if (viewExtent < rectExtent) return std::min(std::max(viewStart, rectStart), rectStart + rectExtent - viewExtent);
    return rectStart + 0.5f * rectExtent - 0.5f * viewExtent;
}

} // namespace

Camera::Camera() {
    update();
}

fpMatrix4 Camera::buildViewMatrix(const fpVector2& scroll, const fpVector2& pivot, float zoom, bool snap) {
    fpMatrix4 scaled;
    fpMatrix4::scaling(zoom, zoom, 1.0f).multiply(fpMatrix4::translation(-pivot.x, -pivot.y, 0.0f), scaled);
    fpMatrix4 view;
    fpMatrix4::translation(pivot.x - scroll.x, pivot.y - scroll.y, 0.0f).multiply(scaled, view);
    if (snap) {
        view[12] = roundHalfAway(view[12]);
        view[13] = roundHalfAway(view[13]);
    }
    return view;
}

fpVector2 Camera::zoomOffset(const fpVector2& pivot, float zoom, bool snap) {
    const fpMatrix4 view = buildViewMatrix(fpVector2(), pivot, zoom, snap);
    return {view[12], view[13]};
}

void Camera::update() {
    viewMatrix = buildViewMatrix(scroll, zoomPivot, zoom, pixelSnap);
    viewMatrix[14] = 1.0f;
    viewMatrix.inverse(inverseMatrix);
    linearMatrix = viewMatrix;
    linearMatrix[12] = 0.0f;
    linearMatrix[13] = 0.0f;
    linearMatrix[14] = 0.0f;
    visibleRect = fpRect::fromPoints(applyToPoint(inverseMatrix, fpVector2()), applyToPoint(inverseMatrix, viewSize));
}

fpVector2 Camera::getTopLeft() const {
    return applyToPoint(inverseMatrix, fpVector2());
}

void Camera::setTopLeft(const fpVector2& p) {
    scroll = applyToPoint(linearMatrix, p) + zoomOffset(zoomPivot, zoom, pixelSnap);
    update();
}

void Camera::clampToRect(const fpRect& rectangle) {
    const fpVector2 topLeft = getTopLeft();
    setTopLeft({clampAxis(topLeft.x, visibleRect.w, rectangle.x, rectangle.w),
                clampAxis(topLeft.y, visibleRect.h, rectangle.y, rectangle.h)});
}

void Camera::pushBehindLine(const fpVector2& a, const fpVector2& b) {
    if (a == b) return;
    if (!rectSideTest(visibleRect, fpSegment(a, b))) return;
    const fpRect& view = visibleRect;
    const fpVector2 corners[] = {
        {view.x, view.y}, {view.right(), view.y}, {view.x, view.bottom()}, {view.right(), view.bottom()}};
    float beyond = 0.0f;
    for (const fpVector2& corner : corners) beyond = std::max(beyond, signedDistanceToLine(a, b, corner));
    if (beyond <= 0.0f) return;
    const fpVector2 normal = fpVector2(-(b.y - a.y), b.x - a.x).normalized();
    setTopLeft(getTopLeft() + normal * beyond);
}

float signedDistanceToLine(const fpVector2& a, const fpVector2& b, const fpVector2& p) {
    const fpVector2 d = b - a;
    const fpVector2 q = p - a;
    const float t = q.dot(d) / d.dot(d);
    const float cross = q.x * d.y - q.y * d.x;
    const float side = cross > 0.0f ? 1.0f : (cross < 0.0f ? -1.0f : 0.0f);
    return side * (d * t - q).length();
}

} // namespace zor
