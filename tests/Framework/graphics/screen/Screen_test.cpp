#include "Framework/graphics/screen/BatchTransform.h"
#include "Framework/graphics/screen/Projection.h"
#include "Framework/graphics/screen/Screen.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zor {
namespace {

Screen::Viewport fullWindow(int width, int height, float virtualWidth, float virtualHeight, int mode) {
    Screen::Viewport viewport;
    viewport.windowWidth = width;
    viewport.windowHeight = height;
    viewport.width = width;
    viewport.height = height;
    viewport.virtualWidth = virtualWidth;
    viewport.virtualHeight = virtualHeight;
    viewport.scaleMode = mode;
    viewport.updateScale();
    return viewport;
}

// Makes `viewport` the only and current one.
void useViewport(const Screen::Viewport& viewport) {
    Screen::initViewports();
    Screen::viewports()[0] = viewport;
    Screen::setCurrentViewportIndex(0);
    Screen::setStereoMode(Screen::StereoNone);
}

// The clip-space x, y, z of the point (x, y, z, 1).
void project(const fpMatrix4& m, float x, float y, float z, float out[3]) {
    for (int r = 0; r < 3; ++r) out[r] = m[r] * x + m[4 + r] * y + m[8 + r] * z + m[12 + r];
}

TEST(ScreenViewport, ScaleOffsetsAndVisibleAreaPerMode) {
    struct Case {
        int width, height, mode;
        float scale, offsetX, offsetY, visibleX, visibleY;
    };
    const Case cases[] = {
        {1920, 1080, 0, 3.0f, 0.0f, 0.0f, 0.0f, 0.0f},
        {1920, 1080, 1, 3.0f, 0.0f, 0.0f, 0.0f, 0.0f},
        {1920, 1080, 2, 3.0f, 0.0f, 0.0f, 0.0f, 0.0f},
        {1920, 1080, 3, 3.0f, 0.0f, 0.0f, 0.0f, 0.0f},
        // 5:4 window: covering crops the sides, fitting bars top and bottom.
        {1280, 1024, 0, 1024.0f / 360.0f, -270.2222f, 0.0f, 95.0f, 0.0f},
        {1280, 1024, 1, 2.0f, 0.0f, 152.0f, 0.0f, -76.0f},
        {1280, 1024, 2, 2.4222222f, -135.1111f, 76.0f, 55.7798f, -31.3761f},
        {1280, 1024, 3, 2.0f, 0.0f, 152.0f, 0.0f, -76.0f},
        // An unknown mode fits, like mode 1.
        {1280, 1024, 7, 2.0f, 0.0f, 152.0f, 0.0f, -76.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.width << "x" << c.height << " mode " << c.mode);
        const Screen::Viewport v = fullWindow(c.width, c.height, 640.0f, 360.0f, c.mode);
        EXPECT_NEAR(v.scale, c.scale, 1e-4f);
        EXPECT_NEAR(v.offsetX, c.offsetX, 1e-3f);
        EXPECT_NEAR(v.offsetY, c.offsetY, 1e-3f);
        EXPECT_NEAR(v.visibleArea.x, c.visibleX, 1e-3f);
        EXPECT_NEAR(v.visibleArea.y, c.visibleY, 1e-3f);
        EXPECT_NEAR(v.visibleArea.w, float(c.width) / c.scale, 1e-2f);
        EXPECT_NEAR(v.visibleArea.h, float(c.height) / c.scale, 1e-2f);
    }
}

TEST(ScreenViewport, SnappedAverageScale) {
    // The virtual size equals 1000 x 1000, so both ratios, and their average, equal c.
    struct Case {
        float average, scale;
    };
    const Case cases[] = {
        {0.74f, 0.5f},        // nearer 1/2 than 1/3
        {0.3f, 1.0f / 3.0f},  // nearer 1/3 than 1/4
        {0.75f, 1.0f},        // the lowest average that snaps to a whole number
        {1.5f, 2.0f},         // halves round away from zero
        {2.49f, 2.0f},
        {0.1f, 0.1f},         // 1/10 exactly
        {0.0f, 1.0f / Screen::MaxScaleDivisor},    // no divisor is near: bounded, not endless
        {1e-6f, 1.0f / Screen::MaxScaleDivisor},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.average);
        const float pixels = c.average * 1000.0f;
        EXPECT_NEAR(Screen::scaleForMode(Screen::ScaleAverageSnapped, pixels, pixels, 1000.0f, 1000.0f), c.scale,
                    1e-6f);
    }
}

TEST(ScreenViewport, ZeroRectangleViewportStaysFinite) {
    // A window whose viewport has shrunk to nothing: the snapped scale must still end.
    Screen::Viewport v;
    v.windowWidth = 640;
    v.windowHeight = 360;
    v.x = 4;
    v.virtualWidth = 640.0f;
    v.virtualHeight = 360.0f;
    v.scaleMode = Screen::ScaleAverageSnapped;
    v.updateScale();
    EXPECT_FLOAT_EQ(v.scale, 1.0f / Screen::MaxScaleDivisor);
    EXPECT_FLOAT_EQ(v.visibleArea.w, 0.0f);
}

TEST(ScreenViewport, AllZeroPartsKeepThePreviousScale) {
    Screen::Viewport base = fullWindow(1920, 1080, 640.0f, 360.0f, 0);
    ASSERT_FLOAT_EQ(base.scale, 3.0f);

    Screen::Viewport noWindow = base;
    noWindow.windowWidth = noWindow.windowHeight = 0;
    noWindow.width = 640;
    noWindow.updateScale();
    EXPECT_FLOAT_EQ(noWindow.scale, 3.0f);

    Screen::Viewport noRectangle = base;
    noRectangle.width = noRectangle.height = 0;
    noRectangle.updateScale();
    EXPECT_FLOAT_EQ(noRectangle.scale, 3.0f);

    Screen::Viewport noVirtualSize = base;
    noVirtualSize.virtualWidth = noVirtualSize.virtualHeight = 0.0f;
    noVirtualSize.width = 640;
    noVirtualSize.updateScale();
    EXPECT_FLOAT_EQ(noVirtualSize.scale, 3.0f);

    // A new viewport is all zeros and stays so.
    Screen::Viewport fresh;
    fresh.updateScale();
    EXPECT_EQ(fresh.scale, 0.0f);
}

TEST(Screen, InitViewportsLeavesExactlyOne) {
    Screen::viewports().clear();
    Screen::initViewports();
    ASSERT_EQ(Screen::viewports().size(), 1u);
    EXPECT_EQ(Screen::viewports()[0].width, 0);

    Screen::viewports()[0].width = 800;
    Screen::viewports().resize(3);
    Screen::initViewports();
    ASSERT_EQ(Screen::viewports().size(), 1u);
    EXPECT_EQ(Screen::viewports()[0].width, 800);
}

TEST(Screen, CurrentViewportOutsideTheArrayIsAllZeros) {
    useViewport(fullWindow(1920, 1080, 640.0f, 360.0f, 0));
    for (int index : {-1, 1, 5}) {
        Screen::setCurrentViewportIndex(index);
        EXPECT_EQ(Screen::currentViewport().width, 0) << index;
        EXPECT_EQ(Screen::currentViewport().scale, 0.0f) << index;
    }
    Screen::setCurrentViewportIndex(0);
    EXPECT_EQ(Screen::currentViewport().width, 1920);
}

TEST(Screen, ToWindowRect) {
    useViewport(fullWindow(1920, 1080, 640.0f, 360.0f, 0));
    EXPECT_EQ(Screen::toWindowRect(fpRect(0, 0, 640, 360)), iRect(0, 0, 1920, 1080));
    // y counts from the bottom: a 10-unit band at the top sits 30 pixels below 1080.
    EXPECT_EQ(Screen::toWindowRect(fpRect(10, 0, 20, 10)), iRect(30, 1050, 60, 30));

    // A viewport in the lower part of its window, with fitting offsets.
    Screen::Viewport lower = fullWindow(1280, 1024, 640.0f, 360.0f, 1);
    lower.windowHeight = 1124;
    lower.y = 100;
    useViewport(lower);
    // Offsets 0 and 152 at scale 2: (0, 0) is window pixel (0, 252) from the top.
    EXPECT_EQ(Screen::toWindowRect(fpRect(0, 0, 640, 360)), iRect(0, 1124 - 252 - 720, 1280, 720));
    // Fractions are truncated toward zero.
    EXPECT_EQ(Screen::toWindowRect(fpRect(0.7f, 0, 1.7f, 0.4f)), iRect(1, 871, 3, 0));
}

TEST(Projection, OrthoDepthRange) {
    const fpMatrix4 m = orthoMatrix(0, 640, 360, 0, -1024, 1024);
    float near[3], far[3], corner[3];
    project(m, 0, 0, 1024, near);
    project(m, 0, 0, -1024, far);
    project(m, 640, 360, 0, corner);
    EXPECT_FLOAT_EQ(near[2], 0.0f);
    EXPECT_FLOAT_EQ(far[2], 1.0f);
    EXPECT_FLOAT_EQ(near[0], -1.0f);
    EXPECT_FLOAT_EQ(near[1], 1.0f);
    EXPECT_FLOAT_EQ(corner[0], 1.0f);
    EXPECT_FLOAT_EQ(corner[1], -1.0f);
}

TEST(Projection, ScreenOrthoPlacesVirtualPointsInTheViewport) {
    useViewport(fullWindow(1280, 1024, 640.0f, 360.0f, 1));
    const fpMatrix4 m = screenOrtho(-1024, 1024);
    float origin[3], corner[3];
    project(m, 0, 0, 0, origin);
    project(m, 640, 360, 0, corner);
    // Offsets (0, 152) of a 1280 x 1024 viewport.
    EXPECT_FLOAT_EQ(origin[0], -1.0f);
    EXPECT_NEAR(origin[1], 1.0f - 2.0f * 152.0f / 1024.0f, 1e-6f);
    EXPECT_FLOAT_EQ(corner[0], 1.0f);
    EXPECT_NEAR(corner[1], -1.0f + 2.0f * 152.0f / 1024.0f, 1e-6f);
}

TEST(Projection, PerspectiveElements) {
    const float fov = 1.0f;
    const fpMatrix4 m = perspectiveMatrix(fov, 2.0f, 1.0f, 100.0f);
    const float f = 1.0f / std::tan(0.5f);
    for (int i = 0; i < 16; ++i) {
        float expected = 0.0f;
        if (i == 0) expected = f / 2.0f;
        if (i == 5) expected = f;
        if (i == 10) expected = 100.0f / -99.0f;
        if (i == 11) expected = -1.0f;
        if (i == 14) expected = 100.0f / -99.0f;
        EXPECT_FLOAT_EQ(m[i], expected) << i;
    }
    EXPECT_EQ(aspectRatio(fpRect(0, 0, 16, 9)), 16.0f / 9.0f);
    EXPECT_EQ(aspectRatio(fpRect(0, 0, 16, 0)), 0.0f);
}

TEST(BatchTransform, ScreenAndOrthoSizeCombineAndRaiseTheFlag) {
    useViewport(fullWindow(1920, 1080, 640.0f, 360.0f, 0));
    const fpMatrix4 view = fpMatrix4::translation(5, 6, 0);
    BatchTransform t;
    t.setScreen(view, -1024, 1024);
    EXPECT_TRUE(t.changed);
    EXPECT_EQ(t.modelView, view);
    fpMatrix4 expected;
    t.projection.multiply(view, expected);
    EXPECT_EQ(t.combined, expected);

    BatchTransform target;
    target.setOrthoSize(fpVector2(256, 128), fpMatrix4(), -1, 1);
    EXPECT_TRUE(target.changed);
    EXPECT_EQ(target.projection, orthoMatrix(0, 256, 128, 0, -1, 1));
}

TEST(BatchTransform, StereoEyesShiftViewAndProjection) {
    useViewport(fullWindow(1920, 1080, 640.0f, 360.0f, 0));
    const fpMatrix4 view = fpMatrix4::translation(1, 2, 3);
    struct Case {
        Screen::StereoModeEnum mode;
        float eye;
    };
    for (const Case& c : {Case{Screen::StereoNone, 0.0f}, Case{Screen::StereoFirstEye, 1.0f},
                          Case{Screen::StereoSecondEye, -1.0f}}) {
        SCOPED_TRACE(c.mode);
        Screen::setStereoMode(c.mode);
        BatchTransform t;
        t.changed = true;
        t.setPerspectiveStereo(view, 1.0f, 1.0f, 100.0f);
        EXPECT_FALSE(t.changed);
        EXPECT_FLOAT_EQ(t.modelView[12], 1.0f + c.eye * 0.06523f);
        EXPECT_FLOAT_EQ(t.projection[8], c.eye * 0.130469f);
        EXPECT_FLOAT_EQ(t.projection[0], perspectiveMatrix(1.0f, 16.0f / 9.0f, 1.0f, 100.0f)[0]);
    }
    Screen::setStereoMode(Screen::StereoNone);
}

TEST(BatchTransform, HorizontalFieldOfViewSpansTheVisibleWidth) {
    useViewport(fullWindow(1920, 1080, 640.0f, 360.0f, 0));
    BatchTransform t;
    const float quarterTurn = 1.5707964f;
    t.setPerspective(fpMatrix4(), quarterTurn, 1.0f, 100.0f);
    // A 90-degree horizontal view: x = z at the edge, so element 0 is 1.
    EXPECT_NEAR(t.projection[0], 1.0f, 1e-5f);
    EXPECT_NEAR(t.projection[5], 16.0f / 9.0f, 1e-5f);
}

} // namespace
} // namespace zor
