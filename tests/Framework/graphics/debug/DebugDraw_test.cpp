#include "Framework/core/memory/Polygon.h"
#include "Framework/graphics/debug/DebugDraw.h"
#include "Framework/graphics/font/Font.h"
#include "tests/Framework/graphics/font/TestFonts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <thread>
#include <vector>

namespace zor {
namespace {

constexpr PackedColor Green(0xFF00FF00u);

std::vector<fpSegment> segments(const DebugDraw::Layer& layer) {
    std::vector<fpSegment> all;
    for (const auto& line : layer.lines) all.insert(all.end(), line->segments.begin(), line->segments.end());
    return all;
}

void expectSegment(const fpSegment& segment, float x0, float y0, float x1, float y1) {
    EXPECT_NEAR(segment.start.x, x0, 1e-4f);
    EXPECT_NEAR(segment.start.y, y0, 1e-4f);
    EXPECT_NEAR(segment.end.x, x1, 1e-4f);
    EXPECT_NEAR(segment.end.y, y1, 1e-4f);
}

class DebugDrawTest : public ::testing::Test {
protected:
    void SetUp() override { setTextPixelSnap(false); }
    void TearDown() override { setTextPixelSnap(true); }

    DebugDraw debugDraw;
    DebugDraw::Layer& world = debugDraw.worldLayer;
    DebugDraw::Layer& screen = debugDraw.screenLayer;
};

TEST_F(DebugDrawTest, ALineKeepsItsSegmentColourAndANegativeTimeCountsAsZero) {
    world.addLine(fpSegment(1, 2, 3, 4), -3.0f, Green);
    world.addLine(fpSegment(5, 6, 7, 8), 2.5f, Green);
    ASSERT_EQ(world.lines.size(), 2u);
    EXPECT_EQ(world.lines[0]->remainingTime, 0.0f);
    EXPECT_EQ(world.lines[1]->remainingTime, 2.5f);
    expectSegment(world.lines[0]->segments.at(0), 1, 2, 3, 4);
    EXPECT_EQ(world.lines[0]->color, Green);
    EXPECT_TRUE(screen.lines.empty());
}

TEST_F(DebugDrawTest, RectanglesEndOnTheirLastPixel) {
    world.addRectangle(fpRect(10, 20, 5, 3), 1.0f, Green);
    const std::vector<fpSegment> sides = segments(world);
    ASSERT_EQ(sides.size(), 4u);
    expectSegment(sides[0], 10, 20, 14, 20);
    expectSegment(sides[1], 14, 20, 14, 22);
    expectSegment(sides[2], 14, 22, 10, 22);
    expectSegment(sides[3], 10, 22, 10, 20);
}

TEST_F(DebugDrawTest, CirclesHaveFourSegmentsPerDoublingOfTheRadius) {
    const struct {
        float radius;
        std::size_t segments;
    } cases[] = {{1.0f, 0}, {1.9f, 0}, {0.0f, 0}, {-5.0f, 0}, {NAN, 0}, {2.0f, 4}, {3.9f, 4},
                 {4.0f, 8}, {15.0f, 12}, {16.0f, 16}, {40.0f, 20}};
    for (const auto& c : cases) {
        debugDraw.clear();
        world.addCircle(100, 50, c.radius, 1.0f, Green);
        EXPECT_EQ(world.lines.size(), c.segments) << c.radius;
    }
    debugDraw.clear();
    world.addCircle(100, 50, 2.0f, 1.0f, Green);
    const std::vector<fpSegment> square = segments(world);
    expectSegment(square[0], 102, 50, 100, 52);
    expectSegment(square[3], 100, 48, 102, 50);  // closed back to the first point
}

TEST_F(DebugDrawTest, PolylinesJoinTheWorldVerticesInOrderWithoutClosing) {
    Polygon polygon;
    polygon.position = fpVector2(100, 200);
    polygon.scale = fpVector2(2, 3);
    polygon.angle = 1.5707964f;
    polygon.vertices = {{0, 0}, {10, 0}, {10, 10}};
    screen.addPolyline(polygon, 1.0f);
    const std::vector<fpSegment> edges = segments(screen);
    ASSERT_EQ(edges.size(), 2u);
    // Rotated by a quarter turn, then scaled: (10, 0) -> (0, 10) -> (0, 30).
    expectSegment(edges[0], 100, 200, 100, 230);
    expectSegment(edges[1], 100, 230, 80, 230);
    EXPECT_EQ(screen.lines[0]->color, PackedColor(0xFF0000FFu));
}

TEST_F(DebugDrawTest, LogLinesGatherInOneLogPerIdWithTheLatestBox) {
    const auto font = test::tableFont();
    screen.addLogLine("first", 7, fpRect(0, 50, 640, 360), 10.0f, font.get());
    screen.addLogLine("second", 7, fpRect(0, 60, 320, 240), -2.0f, font.get(), Green);
    screen.addLogLine("other", 8, fpRect(), 1.0f, nullptr);
    ASSERT_EQ(screen.logs.size(), 2u);
    const DebugDraw::LogData& log = *screen.logs[0];
    EXPECT_EQ(log.id, 7u);
    EXPECT_EQ(log.box, fpRect(0, 60, 320, 240));
    ASSERT_EQ(log.entries.size(), 2u);
    EXPECT_EQ(log.entries[0]->text, "first");
    EXPECT_EQ(log.entries[0]->duration, 10.0f);
    EXPECT_EQ(log.entries[1]->remainingTime, -2.0f);  // a log line keeps the time it was given
    EXPECT_EQ(log.entries[1]->color, Green);
    EXPECT_EQ(log.entries[1]->font, font.get());
    EXPECT_FALSE(log.entries[1]->mesh);
}

TEST_F(DebugDrawTest, ExpiringALogEndsItsLinesAtTheNextFrame) {
    screen.addLogLine("a", 7, fpRect(), 10.0f, nullptr);
    screen.addLogLine("b", 8, fpRect(), 10.0f, nullptr);
    screen.expireLog(99);
    EXPECT_EQ(screen.logs[0]->entries[0]->remainingTime, 10.0f);
    screen.expireLog(7);
    EXPECT_EQ(screen.logs[0]->entries[0]->remainingTime, 0.0f);
    debugDraw.advance(0.0f);
    ASSERT_EQ(screen.logs.size(), 1u);
    EXPECT_EQ(screen.logs[0]->id, 8u);
}

TEST_F(DebugDrawTest, ShapesLastTheirTimeAndATimeOfZeroLastsOneFrame) {
    world.addLine(fpSegment(), 0.0f, Green);
    world.addGrid(fpRect(0, 0, 10, 10), fpVector2(2, 2), 1.0f, Green);
    screen.addLogLine("log", 1, fpRect(), 0.75f, nullptr);
    screen.addLogLine("log", 1, fpRect(), 2.0f, nullptr);
    debugDraw.advance(0.5f);
    EXPECT_TRUE(world.lines.empty());
    ASSERT_EQ(world.grids.size(), 1u);
    EXPECT_EQ(screen.logs.at(0)->entries.size(), 2u);
    debugDraw.advance(0.5f);
    EXPECT_TRUE(world.grids.empty());
    EXPECT_EQ(screen.logs.at(0)->entries.size(), 1u);
    debugDraw.advance(1.0f);
    EXPECT_TRUE(screen.logs.empty());
}

TEST_F(DebugDrawTest, MessagesAreLaidOutInTheirBoxFromTheTopLeftOnceThereIsAFont) {
    debugDraw.addMessage(fpRect(160, 184, 1000, 1000), screen, "early", 1.0f, Green);
    EXPECT_TRUE(screen.messages.empty());

    debugDraw.setRenderer(std::shared_ptr<Font>(test::tableFont()), nullptr, nullptr);
    debugDraw.addMessage(fpRect(160, 184, 30, 1000), screen, "ABCDE", -1.0f, Green);
    drawDebugText(fpVector2(5, 6), debugDraw, "AB", 2.0f, Green);
    ASSERT_EQ(screen.messages.size(), 1u);
    const DebugDraw::MessageData& message = *screen.messages[0];
    EXPECT_EQ(message.remainingTime, 0.0f);
    EXPECT_EQ(message.box, fpRect(160, 184, 30, 1000));
    // Wrapped at the box's width: four glyphs fit in 30.
    ASSERT_EQ(message.mesh->quads.size(), 5u);
    EXPECT_EQ(message.mesh->quads[4].line, 1);
    EXPECT_EQ(message.mesh->bounds.position(), fpVector2(160, 184));
    ASSERT_EQ(world.messages.size(), 1u);
    EXPECT_EQ(world.messages[0]->box, fpRect(5, 6, 1000, 1000));
}

TEST_F(DebugDrawTest, ClearDropsEveryShapeOfBothLayers) {
    world.addLine(fpSegment(), 1.0f, Green);
    world.addGrid(fpRect(), fpVector2(), 1.0f, Green);
    screen.addLogLine("x", 1, fpRect(), 1.0f, nullptr);
    debugDraw.clear();
    EXPECT_TRUE(world.lines.empty() && world.grids.empty() && world.messages.empty() && world.logs.empty());
    EXPECT_TRUE(screen.lines.empty() && screen.logs.empty());
}

TEST_F(DebugDrawTest, AddersOnManyThreadsLoseNothingAndShapesAfterAClearStay) {
    constexpr int PerThread = 500;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < PerThread; ++i) {
                world.addLine(fpSegment(float(t), float(i), 0, 0), 1.0f, Green);
                screen.addLogLine("line", std::uintptr_t(t), fpRect(), 1.0f, nullptr);
                if (i % 100 == 0) debugDraw.advance(0.0f);
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(world.lines.size(), 4u * PerThread);
    ASSERT_EQ(screen.logs.size(), 4u);
    for (const auto& log : screen.logs) EXPECT_EQ(log->entries.size(), std::size_t(PerThread));

    debugDraw.clear();
    std::thread late([&] {
        for (int i = 0; i < PerThread; ++i) world.addCircle(0, 0, 2, 1.0f, Green);
    });
    late.join();
    EXPECT_EQ(world.lines.size(), 4u * PerThread);
}

} // namespace
} // namespace zor
