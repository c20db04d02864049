#include "tests/game/world/physics/PhysicsFixtures.h"
#include "tests/support/common/LogCapture.h"

#include <gtest/gtest.h>

#include <vector>

namespace zor::test {
namespace {

constexpr std::uint32_t Rocks = CollisionGroup::Rocks;

TEST(PhysicalObjectTest, BoundsUniteTheBodies) {
    PhysicalObject object;
    EXPECT_EQ(object.getBounds(), fpRect());
    object.addBody(makeBody(new RectShape({0, 0, 10, 10}, false), Rocks, 0));
    object.addBody(makeBody(new RectShape({20, -5, 10, 10}, false), Rocks, 0));
    object.setPosition({100, 50});
    EXPECT_EQ(object.getBounds(), fpRect(100, 45, 30, 15));
    EXPECT_EQ(object.bodies()[1].owner, &object);
}

TEST(PhysicalObjectTest, PlacedObjectsKeepTheirBodiesListed) {
    PhysicsLevel level(tileMapFromRows({"........"}));
    std::vector<PhysicalObject*> found;
    auto object = makeBox({10, 10, 10, 10}, Rocks, 0);
    EXPECT_FALSE(level.physics.queryBodies({0, 0, 320, 40}, Rocks, found));

    level.physics.placeObject(*object);
    EXPECT_EQ(object->cellSystem(), level.physics.cellSystem());
    // Adding bodies moves the list the cells point into; every body stays findable.
    for (int i = 1; i <= 8; ++i)
        object->addBody(makeBody(new RectShape({float(30 * i), 0, 10, 10}, false), Rocks, 0));
    for (int i = 0; i <= 8; ++i) {
        found.clear();
        EXPECT_TRUE(level.physics.queryRect({float(10 + 30 * i), 10, 10, 10}, Rocks, found)) << i;
        EXPECT_EQ(found, std::vector<PhysicalObject*>{object.get()}) << i;
    }

    level.physics.removeObject(*object);
    EXPECT_EQ(object->cellSystem(), nullptr);
    for (const PhysicalBody& body : object->bodies()) EXPECT_TRUE(body.cellRange().isZero());
    found.clear();
    EXPECT_FALSE(level.physics.queryBodies({0, 0, 320, 40}, Rocks, found));

    // An object destroyed while placed leaves the cells as it goes.
    level.physics.placeObject(*object);
    object.reset();
    EXPECT_FALSE(level.physics.queryBodies({0, 0, 320, 40}, Rocks, found));
}

TEST(PhysicalObjectTest, GroupsAboveTheNineteenListsAreRefused) {
    PhysicsLevel level(tileMapFromRows({"...."}));
    LogCapture log;
    auto object = makeBox({10, 10, 10, 10}, 1u << 19, Rocks);
    object->addBody(makeBody(new RectShape({0, 0, 5, 5}, false), Rocks, 0));
    level.physics.placeObject(*object);
    ASSERT_EQ(log.lines.size(), 1u);
    EXPECT_NE(log.lines[0].find("0x80000"), std::string::npos) << log.lines[0];
    EXPECT_TRUE(log.errors.empty());  // a warning: the game goes on
    EXPECT_TRUE(object->bodies()[0].cellRange().isZero());
    EXPECT_FALSE(object->bodies()[1].cellRange().isZero());

    std::vector<PhysicalObject*> found;
    EXPECT_FALSE(level.physics.queryBodies({0, 0, 160, 40}, 0xFFF80000u, found));
    // It still collides as a mover.
    PhysicalObject& rock = level.addBox({40, 10, 10, 10}, Rocks, 0);
    (void)rock;
    EXPECT_FALSE(level.physics.moveObjectTo(*object, {60, 10}, false, nullptr, true));
    object->setPosition({100, 10});  // no registration to move, nothing logged
    EXPECT_EQ(log.lines.size(), 1u);
}

} // namespace
} // namespace zor::test
