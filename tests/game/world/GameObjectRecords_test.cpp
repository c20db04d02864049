// The save records of game objects and of slot lists: what they hold, that every kind
// reads back the same object, and that a cut or corrupt record fails instead of making a
// different one.

#include "game/world/World.h"
#include "game/world/entity/GameObjectSetup.h"

#include "Framework/core/Errors.h"
#include "Framework/core/io/ByteReader.h"
#include "Framework/core/io/ByteWriter.h"
#include "Framework/core/io/StringTable.h"
#include "Framework/core/math/Randomizer.h"
#include "tests/support/game/FixtureDefinitions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace zor {
namespace {

constexpr float Pi = 3.14159265f;
constexpr float NaN = std::numeric_limits<float>::quiet_NaN();
constexpr float Infinity = std::numeric_limits<float>::infinity();

std::vector<std::uint8_t> bytesOf(const ByteWriter& writer) {
    return std::vector<std::uint8_t>(writer.data().get(), writer.data().get() + writer.size());
}

ByteReader readerOf(const std::vector<std::uint8_t>& bytes, std::size_t length) {
    ByteWriter copy(bytes.size() + 1);
    for (std::uint8_t byte : bytes) copy.writeU8(byte);
    return ByteReader(copy.data(), length);
}

float floatAt(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    float value = 0.0f;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

// A fresh object of the same kind and definition, as the save reader makes one.
std::unique_ptr<GameObject> freshLike(const GameObject& object) {
    switch (object.kind()) {
    case GameObjectKind::Actor:
        return std::make_unique<ActorObject>(actorRegistry().getShared(object.gameObjectDefinition().name));
    case GameObjectKind::Projectile:
        return std::make_unique<Projectile>(projectileRegistry().getShared(object.gameObjectDefinition().name));
    case GameObjectKind::Resource:
        return std::make_unique<ResourceObject>(resourceRegistry().getShared(object.gameObjectDefinition().name));
    }
    return nullptr;
}

class GameObjectRecordTest : public ::testing::Test {
protected:
    void SetUp() override { test::loadFixtureDefinitions(); }

    std::vector<std::uint8_t> save(const Entity& entity) {
        ByteWriter writer(16);
        entity.save(writer, names);
        return bytesOf(writer);
    }

    StringTableDynamic names;
    Randomizer random = Randomizer::fromSeed(5);
    World world{random};
};

TEST_F(GameObjectRecordTest, TheFacingCodeFollowsRotationAndAutoFacing) {
    const struct {
        const char* actor;
        fpVector2 facing;
        std::uint8_t code;
        float angle;  // after code 3
        fpVector2 loaded;
    } cases[] = {
        {"turner", {-1, 0}, 3, Pi, {-1, 0}},
        {"turner", {0, 1}, 3, Pi / 2, {0, 1}},
        {"turner", {0, -1}, 3, -Pi / 2, {0, -1}},  // not wrapped
        {"sentry", {0, 1}, 2, 0, {1, 0}},          // x >= 0
        {"sentry", {-1, 0}, 1, 0, {-1, 0}},
        {"crawler", {-1, 0}, 0, 0, {0.6f, -0.8f}},  // turns by itself: the facing stays
    };
    for (const auto& c : cases) {
        ActorObject* actor = world.spawnActor(c.actor, {12.5f, -40.0f}, c.facing);
        const std::vector<std::uint8_t> bytes = save(*actor);
        ASSERT_EQ(bytes.size(), c.code == 3 ? 13u : 9u) << c.actor;
        EXPECT_EQ(floatAt(bytes, 0), 12.5f);
        EXPECT_EQ(floatAt(bytes, 4), -40.0f);
        EXPECT_EQ(bytes[8], c.code) << c.actor << " " << c.facing;
        if (c.code == 3) {
            EXPECT_FLOAT_EQ(floatAt(bytes, 9), c.angle) << c.facing;
        }

        const std::unique_ptr<GameObject> loaded = freshLike(*actor);
        loaded->facing = {0.6f, -0.8f};
        ByteReader reader = readerOf(bytes, bytes.size());
        loaded->load(reader, names);
        EXPECT_FALSE(reader.overflow());
        EXPECT_EQ(reader.remaining(), 0u);
        EXPECT_EQ(loaded->getPosition(), fpVector2(12.5f, -40.0f));
        EXPECT_NEAR(loaded->facing.x, c.loaded.x, 1e-6f) << c.actor << " " << c.facing;
        EXPECT_NEAR(loaded->facing.y, c.loaded.y, 1e-6f) << c.actor << " " << c.facing;
    }
}

TEST_F(GameObjectRecordTest, AnUnknownFacingCodeLeavesTheFacing) {
    ByteWriter writer(16);
    writer.writeFloat(1.0f);
    writer.writeFloat(2.0f);
    writer.writeU8(7);
    const std::vector<std::uint8_t> bytes = bytesOf(writer);
    ActorObject actor(actorRegistry().getShared("sentry"));
    actor.facing = {0, 1};
    ByteReader reader = readerOf(bytes, bytes.size());
    actor.load(reader, names);
    EXPECT_FALSE(reader.overflow());
    EXPECT_EQ(actor.facing, fpVector2(0, 1));
}

TEST_F(GameObjectRecordTest, EveryKindReadsBackTheSameObject) {
    ActorObject* actor = world.spawnActor("turner", {30, 70}, {0, 1});
    Projectile* projectile = world.spawnProjectile("spores", {-5, 8.25f}, 0);
    ResourceObject* resource = world.spawnResource("ore", {400, 1200}, 4.5f);
    resource->contents.slots = {{"ore", 3}, {"", 0}, {"gem", 25}};

    for (GameObject* object : std::vector<GameObject*>{actor, projectile, resource}) {
        const std::vector<std::uint8_t> bytes = save(*object);
        const std::unique_ptr<GameObject> loaded = freshLike(*object);
        ByteReader reader = readerOf(bytes, bytes.size());
        loaded->reset();
        loaded->load(reader, names);
        ASSERT_FALSE(reader.overflow()) << object->gameObjectDefinition().name;
        EXPECT_EQ(reader.remaining(), 0u);
        setupGameObject(*loaded, random);
        EXPECT_EQ(loaded->getPosition(), object->getPosition());
        EXPECT_NEAR(loaded->facing.x, object->facing.x, 1e-6f);
        EXPECT_NEAR(loaded->facing.y, object->facing.y, 1e-6f);
        EXPECT_EQ(loaded->physicalObject.getBounds(), object->physicalObject.getBounds());
        // The record of the loaded object is the record it was loaded from.
        EXPECT_EQ(save(*loaded), bytes) << object->gameObjectDefinition().name;
    }
    const std::vector<std::uint8_t> bytes = save(*resource);
    ResourceObject loaded(resourceRegistry().getShared("ore"));
    ByteReader reader = readerOf(bytes, bytes.size());
    loaded.load(reader, names);
    ASSERT_EQ(loaded.contents.slots.size(), 3u);
    EXPECT_EQ(loaded.contents.slots[0].itemName, "ore");
    EXPECT_EQ(loaded.contents.slots[0].count, 3);
    EXPECT_TRUE(loaded.contents.slots[1].itemName.empty());
    EXPECT_EQ(loaded.contents.slots[2].count, 25);
    EXPECT_EQ(loaded.remainingLifeTime, 4.5f);
}

TEST_F(GameObjectRecordTest, ARecordCutAtAnyByteFails) {
    ActorObject* actor = world.spawnActor("turner", {30, 70}, {0, 1});
    ResourceObject* resource = world.spawnResource("ore", {400, 1200}, 4.5f);
    resource->contents.slots = {{"ore", 3}, {"gem", 25}};
    for (const GameObject* object : std::vector<const GameObject*>{actor, resource}) {
        const std::vector<std::uint8_t> bytes = save(*object);
        for (std::size_t length = 0; length < bytes.size(); ++length) {
            const std::unique_ptr<GameObject> loaded = freshLike(*object);
            ByteReader reader = readerOf(bytes, length);
            loaded->load(reader, names);
            EXPECT_TRUE(reader.overflow()) << object->gameObjectDefinition().name << " cut at " << length;
            EXPECT_TRUE(std::isfinite(loaded->getPosition().x) && std::isfinite(loaded->getPosition().y));
        }
    }
    // A life time cut short stays the definition's.
    const std::vector<std::uint8_t> bytes = save(*resource);
    ResourceObject loaded(resourceRegistry().getShared("ore"));
    loaded.remainingLifeTime = 9.0f;
    ByteReader reader = readerOf(bytes, bytes.size() - 1);
    loaded.load(reader, names);
    EXPECT_TRUE(reader.overflow());
    EXPECT_EQ(loaded.remainingLifeTime, 9.0f);
}

TEST_F(GameObjectRecordTest, ANonFiniteCoordinateOrAngleFailsTheRecord) {
    const struct {
        float x;
        float y;
        bool withAngle;
        float angle;
    } cases[] = {
        {NaN, 0, false, 0},       {0, Infinity, false, 0}, {-Infinity, 0, false, 0},
        {1, 2, true, NaN},        {1, 2, true, Infinity},
    };
    for (const auto& c : cases) {
        ByteWriter writer(16);
        writer.writeFloat(c.x);
        writer.writeFloat(c.y);
        writer.writeU8(c.withAngle ? 3 : 2);
        if (c.withAngle) writer.writeFloat(c.angle);
        const std::vector<std::uint8_t> bytes = bytesOf(writer);
        ActorObject actor(actorRegistry().getShared("turner"));
        actor.facing = {0, 1};
        ByteReader reader = readerOf(bytes, bytes.size());
        actor.load(reader, names);
        EXPECT_TRUE(reader.overflow()) << c.x << " " << c.y << " " << c.angle;
        EXPECT_TRUE(std::isfinite(actor.getPosition().x) && std::isfinite(actor.getPosition().y));
        EXPECT_EQ(actor.facing, fpVector2(0, 1));
    }
}

class SlotListRecordTest : public GameObjectRecordTest {
protected:
    // Writes with `names` and reads back with a plain table of the same content.
    InventorySlotList roundTrip(const InventorySlotList& list, std::vector<std::uint8_t>* bytes = nullptr) {
        ByteWriter writer(16);
        list.write(writer, names);
        const std::vector<std::uint8_t> written = bytesOf(writer);
        if (bytes) *bytes = written;
        InventorySlotList read;
        read.slots = {{"gem", 1}};  // replaced, not appended to
        ByteReader reader = readerOf(written, written.size());
        read.read(reader, names);
        EXPECT_FALSE(reader.overflow());
        EXPECT_EQ(reader.remaining(), 0u);
        return read;
    }
};

TEST_F(SlotListRecordTest, SlotsReadBackInPlaceAndCountsSaturate) {
    InventorySlotList list;
    list.capacity = 3;
    list.slots = {{"ore", 3}, {"", 0}, {"gem", 70000}, {"orb", -5}};
    std::vector<std::uint8_t> bytes;
    const InventorySlotList read = roundTrip(list, &bytes);
    // u8 count, then a u16 index and a u16 count per slot; the empty slot names "".
    ASSERT_EQ(bytes.size(), 1u + 4u * 4u);
    EXPECT_EQ(bytes[0], 4);
    EXPECT_EQ(names.at(bytes[5] | bytes[6] << 8), "");
    EXPECT_EQ(bytes[11] | bytes[12] << 8, 65535);
    EXPECT_EQ(bytes[15] | bytes[16] << 8, 0);
    // The last slot, saturated to no items, is trimmed.
    ASSERT_EQ(read.slots.size(), 3u);
    EXPECT_EQ(read.slots[0].itemName, "ore");
    EXPECT_EQ(read.slots[0].count, 3);
    EXPECT_TRUE(read.slots[1].itemName.empty());
    EXPECT_EQ(read.slots[2].itemName, "gem");
    EXPECT_EQ(read.slots[2].count, InventorySlotList::MaxRecordCount);
    EXPECT_EQ(read.capacity, 4);  // the capacity is not in the record

    EXPECT_TRUE(roundTrip(InventorySlotList()).slots.empty());
}

TEST_F(SlotListRecordTest, UnknownItemsAndIndicesBecomeEmptySlotsAndTrailingOnesGo) {
    StringTable table;
    {
        ByteWriter tableBytes(32);
        StringTableDynamic written;
        for (const char* name : {"ore", "beetle_wing", "", "gem"}) written.indexOf(name);
        written.write(tableBytes);
        ByteReader tableReader(tableBytes.data(), tableBytes.size());
        table.read(tableReader);
    }
    const struct {
        std::vector<std::pair<std::uint16_t, std::uint16_t>> slots;  // index, count
        std::vector<std::pair<std::string, std::int32_t>> read;       // name, count
    } cases[] = {
        // No such item: an empty slot, which goes when it ends up last.
        {{{0, 2}, {1, 5}, {3, 1}}, {{"ore", 2}, {"", 0}, {"gem", 1}}},
        {{{0, 2}, {1, 5}}, {{"ore", 2}}},
        // An index beyond the table names nothing.
        {{{0, 2}, {900, 5}, {3, 1}}, {{"ore", 2}, {"", 5}, {"gem", 1}}},
        // No items: trimmed at the end.
        {{{3, 1}, {0, 0}}, {{"gem", 1}}},
        {{{2, 4}, {3, 1}}, {{"", 4}, {"gem", 1}}},
    };
    for (const auto& c : cases) {
        ByteWriter writer(32);
        writer.writeU8(std::uint8_t(c.slots.size()));
        for (const auto& [index, count] : c.slots) {
            writer.writeU16(index);
            writer.writeU16(count);
        }
        InventorySlotList list;
        ByteReader reader(writer.data(), writer.size());
        list.read(reader, table);
        EXPECT_FALSE(reader.overflow());
        std::vector<std::pair<std::string, std::int32_t>> read;
        for (const InventorySlot& slot : list.slots) read.emplace_back(slot.itemName, slot.count);
        EXPECT_EQ(read, c.read);
    }
}

TEST_F(SlotListRecordTest, AListTheRecordCannotHoldFailsTheSaveWithoutWriting) {
    InventorySlotList list;
    list.slots.assign(InventorySlotList::MaxRecordSlots, InventorySlot{"ore", 1});
    EXPECT_EQ(roundTrip(list).slots.size(), InventorySlotList::MaxRecordSlots);

    list.slots.push_back({"ore", 1});
    ByteWriter writer(16);
    writer.writeU8(0xAB);
    try {
        list.write(writer, names);
        ADD_FAILURE() << "256 slots were written";
    } catch (const CheckReleaseError& error) {
        EXPECT_EQ(std::string(error.what()), "An inventory record holds at most 255 slots, not 256");
    }
    EXPECT_EQ(writer.size(), 1u);
}

TEST_F(SlotListRecordTest, ARecordCutShortFailsAndKeepsOnlyWholeSlots) {
    InventorySlotList list;
    list.slots = {{"ore", 3}, {"gem", 2}, {"orb", 9}};
    std::vector<std::uint8_t> bytes;
    roundTrip(list, &bytes);
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        InventorySlotList read;
        ByteReader reader = readerOf(bytes, length);
        read.read(reader, names);
        EXPECT_TRUE(reader.overflow()) << length;
        const std::size_t whole = length < 1 ? 0 : (length - 1) / 4;
        EXPECT_EQ(read.slots.size(), whole) << length;
    }
}

} // namespace
} // namespace zor
