#include "Framework/core/debug/DebugFlags.h"
#include "Framework/graphics/batch/CommonBatch.h"
#include "Framework/graphics/debug/PerfOverlay.h"
#include "Framework/graphics/debug/SampleHistory.h"
#include "Framework/graphics/screen/Screen.h"
#include "tests/Framework/graphics/font/TestFonts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace zor {
namespace {

using PerfOverlay::Overlay;

TEST(SampleHistory, AveragesTheLastHundredSamples) {
    SampleHistory history;
    EXPECT_EQ(history.average(), 0.0f);
    for (const float sample : {1.0f, 2.0f, 3.0f}) history.add(sample);
    EXPECT_FLOAT_EQ(history.average(), 2.0f);

    SampleHistory rolling;
    for (int i = 0; i < 100; ++i) rolling.add(1.0f);
    rolling.add(5.0f);
    EXPECT_FLOAT_EQ(rolling.average(), 1.04f);
    EXPECT_EQ(rolling.filled(), 100u);

    // Large values that come and go leave no drift once the window is summed afresh.
    SampleHistory drift;
    for (int i = 0; i < 100; ++i) drift.add(i % 2 ? 1.0e7f : 0.1f);
    for (int i = 0; i < 100; ++i) drift.add(0.1f);
    EXPECT_FLOAT_EQ(drift.average(), 0.1f);
}

class PerfOverlayTest : public ::testing::Test {
protected:
    void SetUp() override {
        Screen::initViewports();
        Screen::Viewport& viewport = Screen::viewports().front();
        viewport.windowWidth = viewport.width = 1280;
        viewport.windowHeight = viewport.height = 720;
        viewport.virtualWidth = 640;
        viewport.virtualHeight = 360;
        viewport.updateScale();
        overlay.init(std::shared_ptr<Font>(test::tableFont()));
        overlay.setShown(true);
    }
    void TearDown() override { *findDebugFlag("perf", "minmax") = false; }

    // One step of a second: always refreshes.
    void refresh() { overlay.update(1.0f, now += 1.0); }

    Overlay overlay;
    double now = 100.0;
};

TEST_F(PerfOverlayTest, StepRatesAreHeldToTheirRangeAndInfiniteOnesIgnored) {
    const struct {
        float rate;
        const char* shown;  // the average of the recorded rates
    } cases[] = {{60.0f, "(60.0)"},   {0.05f, "(0.1)"},  {5000.0f, "(1000.0)"},
                 {0.0f, "(0.1)"},     {-3.0f, "(0.1)"},  {std::numeric_limits<float>::infinity(), "(0.0)"},
                 {NAN, "(0.0)"}};
    for (const auto& c : cases) {
        Overlay fresh;
        fresh.setShown(true);
        fresh.recordFrameTime(c.rate);
        fresh.update(1.0f, 1.0);
        EXPECT_NE(fresh.rateLine().text.find(c.shown), std::string::npos) << c.rate << " gave " << fresh.rateLine().text;
    }
}

TEST_F(PerfOverlayTest, TheRateLineShowsRealStepsPerSecondAndFrameRate) {
    // The first update has no previous step, so no interval: the real rate is infinite.
    overlay.update(1.0f, 10.0);
    EXPECT_EQ(overlay.rateLine().text, "  fps: inf (0.0), inf");
    overlay.recordFrameTime(60.0f);
    overlay.recordFrame(1.0f / 40.0f);
    overlay.update(1.0f, 10.5);
    EXPECT_EQ(overlay.rateLine().text, "  fps: 2.0 (60.0), 40.0");
    EXPECT_EQ(overlay.rateLine().warningLevel, 2);

    const struct {
        float frameSeconds;
        std::int32_t level;
    } levels[] = {{1.0f / 55.0f, 1}, {1.0f / 60.0f, 0}};
    for (const auto& c : levels) {
        Overlay fresh;
        fresh.setShown(true);
        fresh.recordFrame(c.frameSeconds);
        fresh.update(1.0f, 1.0);
        EXPECT_EQ(fresh.rateLine().warningLevel, c.level) << c.frameSeconds;
    }
}

TEST_F(PerfOverlayTest, MinMaxModeShowsTheRangesSinceTheLastRefresh) {
    overlay.update(0.0f, 1.0);
    overlay.update(0.0f, 1.5);
    overlay.update(0.0f, 1.75);
    for (const float rate : {20.0f, 40.0f}) overlay.recordFrameTime(rate);
    for (const float seconds : {0.5f, 0.25f}) overlay.recordFrame(seconds);
    *findDebugFlag("perf", "minmax") = true;
    overlay.update(1.0f, 2.0);
    EXPECT_EQ(overlay.rateLine().text, "  fps: [2.0, 4.0] ([20.0, 40.0]), [2.0, 4.0]");
}

TEST_F(PerfOverlayTest, DrawCallsAndTrianglesAreAveragedPerFrameWithWarnings) {
    refresh();
    EXPECT_EQ(overlay.drawCallLine().text, "dcall: 0");
    EXPECT_EQ(overlay.triangleLine().text, " tris: 0");
    const struct {
        std::int32_t calls, triangles;
        const char* callText;
        std::int32_t callLevel, triangleLevel;
    } cases[] = {{2250, 2250000, "dcall: 750", 0, 0}, {2253, 2250003, "dcall: 751", 1, 1},
                 {3000, 3000000, "dcall: 1000", 1, 1}, {3003, 3000003, "dcall: 1001", 2, 2}};
    for (const auto& c : cases) {
        for (int frame = 0; frame < 3; ++frame) {
            overlay.recordFrame(0.016f);
            overlay.countDrawCalls(c.calls / 3, c.triangles / 3);
        }
        refresh();
        EXPECT_EQ(overlay.drawCallLine().text, c.callText);
        EXPECT_EQ(overlay.drawCallLine().warningLevel, c.callLevel) << c.callText;
        EXPECT_EQ(overlay.triangleLine().warningLevel, c.triangleLevel) << c.callText;
    }
    // The counters start again after each refresh.
    refresh();
    EXPECT_EQ(overlay.drawCallLine().text, "dcall: 0");
}

TEST_F(PerfOverlayTest, ItRefreshesTwiceASecondWhileShownAndAtOnceWhenShownAfterALongTime) {
    overlay.setShown(false);
    for (int step = 0; step < 100; ++step) overlay.update(0.1f, now += 0.1);
    overlay.countDrawCalls(5, 0);
    EXPECT_EQ(overlay.drawCallLine().text, "");
    overlay.setShown(true);
    overlay.update(0.1f, now += 0.1);
    EXPECT_EQ(overlay.drawCallLine().text, "dcall: 5");
    const TextMeshPtr firstMesh = overlay.drawCallLine().mesh;
    ASSERT_TRUE(firstMesh);
    overlay.countDrawCalls(7, 0);
    for (int step = 0; step < 3; ++step) overlay.update(0.125f, now += 0.125);
    EXPECT_EQ(overlay.drawCallLine().text, "dcall: 5");
    overlay.update(0.125f, now += 0.125);
    EXPECT_EQ(overlay.drawCallLine().text, "dcall: 7");
    EXPECT_NE(overlay.drawCallLine().mesh, firstMesh);
}

TEST_F(PerfOverlayTest, CounterLinesFollowTheirAverageAndAreRebuiltOnlyWhenTheTextChanges) {
    overlay.addSample("sprUpd", 5.0f);
    refresh();
    const PerfOverlay::PerfCounter& counter = overlay.counters().at("sprUpd");
    EXPECT_EQ(counter.line.text, "sprUpd: 5");
    const TextMeshPtr mesh = counter.line.mesh;
    ASSERT_TRUE(mesh);
    refresh();
    EXPECT_EQ(counter.line.mesh, mesh);
    // Zeros wear the average down until it reaches 0, which is shown too.
    for (int i = 0; i < 99; ++i) overlay.addSample("sprUpd", 0.0f);
    refresh();
    EXPECT_EQ(counter.line.text, "sprUpd: 0");  // 0.05
    overlay.addSample("sprUpd", 0.0f);
    refresh();
    EXPECT_EQ(counter.line.text, "sprUpd: 0");
    EXPECT_EQ(counter.formattedAverage, 0.0f);

    // Lines below the three fixed ones, in name order; a new counter moves the later ones.
    overlay.addSample("sprCre", 2.0f);
    refresh();
    const float lineHeight = 10.0f;
    EXPECT_EQ(overlay.counters().at("sprCre").line.mesh->bounds.y, 5.0f + 3 * lineHeight);
    EXPECT_EQ(counter.line.mesh->bounds.y, 5.0f + 4 * lineHeight);

    *findDebugFlag("perf", "minmax") = true;
    overlay.addSample("sprCre", 4.0f);
    refresh();
    EXPECT_EQ(overlay.counters().at("sprCre").line.text, "sprCre: [4, 4]");
}

TEST_F(PerfOverlayTest, TheLinesAreDrawnInTheViewportTheyWereLaidOutForInWarningColours) {
    overlay.addSample("sprRen", 1.0f);
    for (int frame = 0; frame < 3; ++frame) {
        overlay.countDrawCalls(1100, 0);
        overlay.recordFrame(0.016f);
    }
    refresh();
    CommonBatch batch(64, 0.0f);
    Screen::setCurrentViewportIndex(0);
    overlay.draw(batch, fpMatrix4());
    const std::size_t glyphs = overlay.rateLine().mesh->quads.size() + overlay.drawCallLine().mesh->quads.size() +
                               overlay.triangleLine().mesh->quads.size() +
                               overlay.counters().at("sprRen").line.mesh->quads.size();
    EXPECT_EQ(std::size_t(batch.count()), glyphs);
    const Quad& firstCallGlyph = batch.quads()[overlay.rateLine().mesh->quads.size()];
    EXPECT_EQ(firstCallGlyph.vertices[0].color, PackedColor(0xFF0000FFu));

    batch.discardQuads();
    Screen::setCurrentViewportIndex(1);
    overlay.draw(batch, fpMatrix4());
    overlay.setShown(false);
    Screen::setCurrentViewportIndex(0);
    overlay.draw(batch, fpMatrix4());
    EXPECT_EQ(batch.count(), 0);
}

} // namespace
} // namespace zor
