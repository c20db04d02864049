#pragma once
// The view transform of the game world: world pixels to screen units and back, and the
// world rectangle the view shows. The World owns one; the simulation moves it and the
// presentation copies it every step. A plain value record; main thread only.
//
// A world point w is shown at zoom * (w - zoomPivot) + zoomPivot - scroll.

#include "Framework/core/math/Matrix4.h"
#include "Framework/core/math/Rect.h"
#include "Framework/core/math/Vector.h"

namespace zor {

class Camera {
public:
    // Zoom 1, everything else zero, matrices built.
    Camera();

    // World to screen: translation by -pivot, then the scale, then the translation by
    // pivot - scroll. With snap, the x and y translation are rounded half away from zero.
    static fpMatrix4 buildViewMatrix(const fpVector2& scroll, const fpVector2& pivot, float zoom, bool snap);
    // The translation of buildViewMatrix with a zero scroll: pivot * (1 - zoom).
    static fpVector2 zoomOffset(const fpVector2& pivot, float zoom, bool snap);

    // Rebuilds the matrices and the visible rectangle from the fields above them; every
    // change of the scroll ends with it.
    void update();
    // The world point shown at the screen origin.
    fpVector2 getTopLeft() const;
    // Moves the view so that p is shown at the screen origin.
    void setTopLeft(const fpVector2& p);
    // Keeps the view inside the rectangle on each axis, or centres it on an axis where
    // the view is at least as large as the rectangle.
    void clampToRect(const fpRect& rectangle);
    // When the segment crosses an edge of the visible rectangle, moves the view back along
    // the segment's normal until no corner lies on the side of (dy, -dx) of the line.
    // A segment whose ends coincide has no side and is ignored.
    void pushBehindLine(const fpVector2& a, const fpVector2& b);

    bool pixelSnap = false;
    float zoom = 1.0f;
    fpVector2 scroll;
    fpVector2 zoomPivot;
    fpVector2 viewSize;  // screen units

    // Derived by update().
    fpMatrix4 viewMatrix;
    fpMatrix4 linearMatrix;  // viewMatrix without its translation
    fpMatrix4 inverseMatrix;
    fpRect visibleRect;
};

// The distance of p from the infinite line through a and b: positive on the side of
// (dy, -dx), negative on the other, 0 on the line. a and b must differ.
float signedDistanceToLine(const fpVector2& a, const fpVector2& b, const fpVector2& p);

} // namespace zor
