#include "game/simulation/debug/DebugDrawCanvas.h"

#include "game/world/physics/PhysicsSystem.h"

#include "Framework/graphics/debug/DebugDraw.h"

#include <gtest/gtest.h>

#include <memory>

namespace zor {
namespace {

constexpr PackedColor Green(0xFF00FF00u);

TEST(DebugDrawCanvasTest, WithoutTheDebugDrawingNothingHappens) {
    DebugDrawCanvas canvas;
    canvas.outline({1, 2, 3, 4}, Green);
    canvas.line({1, 2}, {3, 4}, Green);
    canvas.grid({0, 0, 10, 10}, {5, 5}, Green);
    canvas.message({0, 0, 10, 10}, "text", Green);
    EXPECT_FALSE(DebugDraw::exists());
}

TEST(DebugDrawCanvasTest, ShapesGoToTheWorldLayerForOneFrame) {
    DebugDraw debugDraw;
    DebugDrawCanvas canvas;
    canvas.outline({10, 20, 5, 3}, Green);
    canvas.line({1, 2}, {3, 4}, Green);
    canvas.grid({0, 0, 512, 256}, {256, 256}, Green);
    ASSERT_EQ(debugDraw.worldLayer.lines.size(), 5u);
    EXPECT_EQ(debugDraw.worldLayer.lines[4]->segments.at(0).end, fpVector2(3, 4));
    ASSERT_EQ(debugDraw.worldLayer.grids.size(), 1u);
    EXPECT_EQ(debugDraw.worldLayer.grids[0]->cellSize, fpVector2(256, 256));
    EXPECT_EQ(debugDraw.worldLayer.grids[0]->remainingTime, 0.0f);
    EXPECT_TRUE(debugDraw.screenLayer.lines.empty());
}

TEST(DebugDrawCanvasTest, ThePhysicsDrawsItsCellsThroughIt) {
    DebugDraw debugDraw;
    PhysicsSystem physics({0, 0, 1000, 500});
    physics.setDebugCanvas(std::make_shared<DebugDrawCanvas>());
    DebugFlag& cells = physicsDebugSwitches().cells;
    physics.debugDraw({0, 0, 1000, 500});
    EXPECT_TRUE(debugDraw.worldLayer.grids.empty());
    cells.store(true);
    physics.debugDraw({0, 0, 1000, 500});
    cells.store(false);
    ASSERT_EQ(debugDraw.worldLayer.grids.size(), 1u);
    EXPECT_EQ(debugDraw.worldLayer.grids[0]->rect, fpRect(0, 0, 1024, 512));
}

} // namespace
} // namespace zor
