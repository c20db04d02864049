// The view transform: scroll, zoom about a pivot, pixel snapping, clamping and the lines
// the view stays behind.

#include "game/world/Camera.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zor {
namespace {

fpVector2 toScreen(const Camera& camera, const fpVector2& w) {
    const fpMatrix4& m = camera.viewMatrix;
    return {m[0] * w.x + m[4] * w.y + m[12], m[1] * w.x + m[5] * w.y + m[13]};
}

Camera viewOf(float width, float height) {
    Camera camera;
    camera.viewSize = {width, height};
    camera.update();
    return camera;
}

TEST(Camera, StartsAtZoomOneWithAnEmptyView) {
    const Camera camera;
    EXPECT_EQ(camera.zoom, 1.0f);
    EXPECT_EQ(camera.visibleRect, fpRect());
    EXPECT_EQ(camera.viewMatrix[14], 1.0f);
}

TEST(Camera, SetTopLeftAtZoomOneMakesTheScrollThePoint) {
    Camera camera = viewOf(640, 360);
    camera.setTopLeft({123.0f, -45.0f});
    EXPECT_EQ(camera.scroll, fpVector2(123.0f, -45.0f));
    EXPECT_EQ(camera.getTopLeft(), fpVector2(123.0f, -45.0f));
    EXPECT_EQ(camera.visibleRect, fpRect(123.0f, -45.0f, 640.0f, 360.0f));
}

TEST(Camera, ThePivotKeepsItsScreenPositionWhateverTheZoom) {
    for (float zoom : {0.5f, 1.0f, 2.0f, 3.0f}) {
        Camera camera = viewOf(640, 360);
        camera.zoom = zoom;
        camera.zoomPivot = {100.0f, 50.0f};
        camera.scroll = {30.0f, 10.0f};
        camera.update();
        const fpVector2 shown = toScreen(camera, {100.0f, 50.0f});
        EXPECT_FLOAT_EQ(shown.x, 70.0f) << zoom;
        EXPECT_FLOAT_EQ(shown.y, 40.0f) << zoom;
        // setTopLeft puts any point at the screen origin, also when zoomed.
        camera.setTopLeft({-20.0f, 400.0f});
        const fpVector2 origin = toScreen(camera, {-20.0f, 400.0f});
        EXPECT_NEAR(origin.x, 0.0f, 1e-3f) << zoom;
        EXPECT_NEAR(origin.y, 0.0f, 1e-3f) << zoom;
    }
}

TEST(Camera, PixelSnapRoundsTheTranslationHalvesAwayFromZero) {
    const fpMatrix4 snapped = Camera::buildViewMatrix({-2.5f, 2.5f}, {0.0f, 0.0f}, 1.5f, true);
    EXPECT_EQ(snapped[12], 3.0f);
    EXPECT_EQ(snapped[13], -3.0f);
    const fpMatrix4 zoomed = Camera::buildViewMatrix({0.3f, 0.0f}, {11.0f, 7.0f}, 1.5f, true);
    EXPECT_EQ(zoomed[12], std::round(zoomed[12]));
    EXPECT_EQ(zoomed[13], std::round(zoomed[13]));
    EXPECT_EQ(zoomed[0], 1.5f);
    EXPECT_EQ(Camera::zoomOffset({10.0f, 4.0f}, 1.5f, false), fpVector2(-5.0f, -2.0f));
}

TEST(Camera, ClampToRectClampsEachAxisOrCentresOnIt) {
    struct Case {
        const char* what;
        fpVector2 start;
        fpRect rect;
        fpVector2 expected;
    } cases[] = {
        {"inside stays", {100, 100}, {0, 0, 2000, 1000}, {100, 100}},
        {"left and top clamp", {-50, -30}, {0, 0, 2000, 1000}, {0, 0}},
        {"right and bottom clamp", {1900, 900}, {0, 0, 2000, 1000}, {1360, 640}},
        {"narrower centres x, taller clamps y", {100, 900}, {0, 0, 400, 1000}, {-120, 640}},
        {"equal width centres", {77, 10}, {40, 0, 640, 1000}, {40, 10}},
        {"smaller both ways centres both", {500, 500}, {0, 0, 200, 100}, {-220, -130}},
    };
    for (const Case& c : cases) {
        Camera camera = viewOf(640, 360);
        camera.setTopLeft(c.start);
        camera.clampToRect(c.rect);
        EXPECT_EQ(camera.getTopLeft(), c.expected) << c.what;
    }
}

TEST(Camera, SignedDistanceIsToTheWholeLine) {
    const fpVector2 a(0, 0), b(10, 0);
    EXPECT_EQ(signedDistanceToLine(a, b, {5, 0}), 0.0f);
    EXPECT_EQ(signedDistanceToLine(a, b, {30, 0}), 0.0f);  // beyond the end, still on the line
    EXPECT_FLOAT_EQ(signedDistanceToLine(a, b, {50, -4}), 4.0f);  // the side of (dy, -dx)
    EXPECT_FLOAT_EQ(signedDistanceToLine(a, b, {-7, 3}), -3.0f);
}

TEST(Camera, PushBehindLineMovesTheViewOffTheSegmentsSide) {
    Camera camera = viewOf(640, 360);
    camera.setTopLeft({0, 0});
    // A floor at y = 300 across the view, drawn right to left: the side of (dy, -dx) is
    // below it, and the view's bottom 60 units are there.
    camera.pushBehindLine({700, 300}, {-100, 300});
    EXPECT_FLOAT_EQ(camera.getTopLeft().y, -60.0f);
    EXPECT_FLOAT_EQ(camera.getTopLeft().x, 0.0f);
    // Resting on it now: nothing moves.
    camera.pushBehindLine({700, 300}, {-100, 300});
    EXPECT_FLOAT_EQ(camera.getTopLeft().y, -60.0f);
    // A wall at x = 100 drawn downwards keeps the view on its left.
    camera.setTopLeft({0, 0});
    camera.pushBehindLine({100, -100}, {100, 500});
    EXPECT_FLOAT_EQ(camera.getTopLeft().x, -540.0f);
    EXPECT_FLOAT_EQ(camera.getTopLeft().y, 0.0f);
}

TEST(Camera, PushBehindLineIgnoresSegmentsOutsideTheViewAndWithoutLength) {
    Camera camera = viewOf(640, 360);
    camera.setTopLeft({0, 0});
    // The line through it cuts the view, the segment itself lies to the right of it.
    camera.pushBehindLine({1000, 300}, {900, 300});
    EXPECT_EQ(camera.getTopLeft(), fpVector2(0, 0));
    // Both ends in one point inside the view: no side to push to, and no division by zero.
    camera.pushBehindLine({320, 180}, {320, 180});
    EXPECT_EQ(camera.getTopLeft(), fpVector2(0, 0));
    EXPECT_EQ(camera.visibleRect, fpRect(0, 0, 640, 360));
}

} // namespace
} // namespace zor
