// The game's start-up registrations: the state factories, the shape pair tests.

#include "game/ui/GameStates.h"

#include "game/world/physics/ShapePairTests.h"

#include "Framework/system/surface/StateMachine.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

TEST(GameStates, ASecondRegistrationLeavesTheFirstFactoriesInPlace) {
    bool ours = false;
    registerStateFactory(StateIntro, [&ours](StateRequestFunction, SystemComponents*) {
        ours = true;
        return std::unique_ptr<StateSurface>();
    });
    registerGameFactories();
    registerGameFactories();
    for (std::int32_t id = StateLogos; id <= StateErrorMenu; ++id) EXPECT_EQ(stateFactories().count(id), 1u) << id;
    stateFactories().at(StateIntro)(nullptr, nullptr);
    EXPECT_TRUE(ours);
    // The pair tests the physics needs: a rectangle against all four shapes, a box against
    // a rectangle.
    RectShape mover(fpRect(0, 0, 10, 10), false);
    RectShape other(fpRect(5, 5, 10, 10), false);
    BoundsShape bounds(fpRect(0, 0, 100, 100));
    ShapeTest test;
    test.sweepBounds = mover.getBounds();
    EXPECT_TRUE(testShapePair(mover, other, test));
    EXPECT_NO_THROW(testShapePair(mover, bounds, test));
}

} // namespace
} // namespace zor
