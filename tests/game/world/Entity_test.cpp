// Entities: ids, the position record, and the kinds that stand where their physical
// object is.

#include "game/world/Level.h"
#include "game/world/entity/ExitObject.h"
#include "game/world/entity/ShapeObject.h"
#include "game/world/entity/TileDamage.h"

#include "Framework/core/io/ByteReader.h"
#include "Framework/core/io/ByteWriter.h"
#include "Framework/core/io/StringTable.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace zor {
namespace {

TEST(EntityDeathTest, TheFirstEntityOfARunGetsIdOne) {
    // A fresh process: the counter starts there.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            auto entity = std::make_unique<TileDamage>();
            std::exit(entity->id() == 1 ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(Entity, IdsRiseAndAreNeverReused) {
    auto first = std::make_unique<TileDamage>();
    const std::int32_t firstId = first->id();
    EXPECT_EQ(Entity::lastIssuedId(), firstId);
    first.reset();
    auto second = std::make_unique<ShapeObject>(1);
    auto third = std::make_unique<TileDamage>();
    EXPECT_EQ(second->id(), firstId + 1);
    EXPECT_EQ(third->id(), firstId + 2);
    EXPECT_TRUE(third->alive());
    EXPECT_EQ(third->type(), EntityType::TileDamage);
}

TEST(Entity, PositionRecordRoundTripsAndAShortOneLeavesTheOrigin) {
    StringTableDynamic names;
    TileDamage saved;
    saved.setPosition({12.5f, -40.0f});
    ByteWriter writer(16);
    saved.save(writer, names);
    ASSERT_EQ(writer.size(), 8u);

    TileDamage loaded;
    ByteReader whole(writer.data(), writer.size());
    loaded.load(whole, names);
    EXPECT_FALSE(whole.overflow());
    EXPECT_EQ(loaded.getPosition(), fpVector2(12.5f, -40.0f));

    TileDamage cut;
    cut.setPosition({3.0f, 4.0f});
    ByteReader seven(writer.data(), 7);
    cut.load(seven, names);
    EXPECT_TRUE(seven.overflow());
    EXPECT_EQ(cut.getPosition(), fpVector2(0.0f, 0.0f));
}

TEST(Entity, ShapesAndExitsStandWhereTheirPhysicalObjectIs) {
    PatchExit record;
    ExitObject exit(&record);
    ShapeObject shape(1);
    for (Entity* entity : {static_cast<Entity*>(&exit), static_cast<Entity*>(&shape)}) {
        entity->setPosition({80.0f, 120.0f});
        EXPECT_EQ(entity->getPosition(), fpVector2(80.0f, 120.0f));
    }
    EXPECT_EQ(exit.physicalObject.position(), fpVector2(80.0f, 120.0f));
    EXPECT_EQ(shape.physicalObject.position(), fpVector2(80.0f, 120.0f));
    EXPECT_EQ(exit.physicalObject.ownerEntity, &exit);
}

} // namespace
} // namespace zor
