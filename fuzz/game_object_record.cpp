// Reads arbitrary bytes as the save record of a game object or of a slot list. The first
// byte picks the kind, a string table in its stored form follows, the rest is the record.
// A record that reads without the overflow flag gives an object the physics can take:
// finite position and facing, a slot list of registered items without trailing empty
// slots; set up, saved and read again it is the same object, as far as the record keeps
// the facing. A failed record never leaves a position that is not a number.
//   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DZOR_FUZZ=ON -DZOR_BENCHMARKS=OFF
//   cmake --build build-fuzz --target fuzz_game_object_record
//   build-fuzz/fuzz/fuzz_game_object_record -max_total_time=60

#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>

#include "Framework/core/io/ByteReader.h"
#include "Framework/core/io/ByteWriter.h"
#include "Framework/core/io/StringTable.h"
#include "Framework/core/math/Randomizer.h"
#include "game/definitions/ActorDefinition.h"
#include "game/definitions/InventoryItemDefinition.h"
#include "game/definitions/ProjectileDefinition.h"
#include "game/definitions/ResourceDefinition.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/entity/GameObjectSetup.h"
#include "game/world/entity/Projectile.h"
#include "game/world/entity/ResourceObject.h"

namespace {

void check(bool condition) {
    if (!condition) __builtin_trap();
}

// One of each way a game object stores its facing, and items for the slot lists.
void loadDefinitions() {
    zor::actorRegistry().loadText("fuzz actors", R"(<ActorDefinitions>
      <Actor><Name>turning</Name><CollisionBox>-10;-4;30;8</CollisionBox><CanRotate>true</CanRotate>
        <RoundPosition>true</RoundPosition><Cannon Name="maw"/></Actor>
      <Actor><Name>sideways</Name><CollisionBox>-8;-20;16;20</CollisionBox><AutoFacing>false</AutoFacing></Actor>
      <Actor><Name>turns_itself</Name><CollisionBox>-8;-20;16;20</CollisionBox><HeartBeatTime>2</HeartBeatTime></Actor>
    </ActorDefinitions>)");
    zor::projectileRegistry().loadText("fuzz projectiles", R"(<ProjectileDefinitions>
      <Projectile><Name>shot</Name><CollisionBox>-2;-2;4;4</CollisionBox><CanRotate>true</CanRotate></Projectile>
    </ProjectileDefinitions>)");
    zor::resourceRegistry().loadText("fuzz resources", R"(<ResourceDefinitions>
      <Resource><Name>ore</Name><CollisionBox>-6;-6;12;12</CollisionBox></Resource>
      <Resource><Name>gem</Name><CollisionBox>-6;-6;12;12</CollisionBox><LifeTime>5</LifeTime></Resource>
    </ResourceDefinitions>)");
    zor::registerResourceInventoryItems();
}

std::unique_ptr<zor::GameObject> make(std::uint8_t selector) {
    switch (selector) {
    case 0: return std::make_unique<zor::ActorObject>(zor::actorRegistry().getShared("turning"));
    case 1: return std::make_unique<zor::ActorObject>(zor::actorRegistry().getShared("sideways"));
    case 2: return std::make_unique<zor::ActorObject>(zor::actorRegistry().getShared("turns_itself"));
    case 3: return std::make_unique<zor::Projectile>(zor::projectileRegistry().getShared("shot"));
    default: return std::make_unique<zor::ResourceObject>(zor::resourceRegistry().getShared("gem"));
    }
}

bool finite(const zor::fpVector2& v) { return std::isfinite(v.x) && std::isfinite(v.y); }

bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

void checkSlots(const zor::InventorySlotList& list) {
    check(list.slots.size() <= zor::InventorySlotList::MaxRecordSlots);
    if (!list.slots.empty()) check(!list.slots.back().itemName.empty() && list.slots.back().count > 0);
    for (const zor::InventorySlot& slot : list.slots) {
        check(slot.count >= 0 && slot.count <= zor::InventorySlotList::MaxRecordCount);
        check(slot.itemName.empty() || zor::inventoryItemRegistry().find(slot.itemName) != nullptr);
    }
}

void checkSameSlots(const zor::InventorySlotList& a, const zor::InventorySlotList& b) {
    check(a.slots.size() == b.slots.size());
    for (std::size_t i = 0; i < a.slots.size(); ++i)
        check(a.slots[i].itemName == b.slots[i].itemName && a.slots[i].count == b.slots[i].count);
}

zor::ByteReader readerOf(const zor::ByteWriter& writer) { return zor::ByteReader(writer.data(), writer.size()); }

void slotList(zor::ByteReader& reader, const zor::StringTable& names) {
    zor::InventorySlotList list;
    list.read(reader, names);
    checkSlots(list);
    if (reader.overflow()) return;
    zor::StringTableDynamic written;
    zor::ByteWriter writer(64);
    list.write(writer, written);
    zor::InventorySlotList again;
    zor::ByteReader second = readerOf(writer);
    again.read(second, written);
    check(!second.overflow() && second.remaining() == 0);
    checkSameSlots(list, again);
}

void gameObject(std::uint8_t selector, zor::ByteReader& reader, const zor::StringTable& names) {
    static zor::Randomizer random = zor::Randomizer::fromSeed(1);
    const std::unique_ptr<zor::GameObject> object = make(selector);
    object->reset();
    object->load(reader, names);
    check(finite(object->getPosition()));
    if (reader.overflow()) return;  // the restoring code discards it
    check(finite(object->facing));
    setupGameObject(*object, random);
    const zor::fpRect bounds = object->physicalObject.getBounds();
    check(std::isfinite(bounds.x) && std::isfinite(bounds.y) && std::isfinite(bounds.w) && std::isfinite(bounds.h));

    zor::StringTableDynamic written;
    zor::ByteWriter writer(64);
    object->save(writer, written);
    const std::unique_ptr<zor::GameObject> again = make(selector);
    again->reset();
    zor::ByteReader second = readerOf(writer);
    again->load(second, written);
    check(!second.overflow() && second.remaining() == 0);
    check(again->getPosition() == object->getPosition());
    // The record keeps the facing of rotating objects, only its side for those that do not
    // turn by themselves, and nothing of the others.
    const zor::GameObjectDefinition& definition = object->gameObjectDefinition();
    if (definition.canRotate)
        check(std::fabs(again->facing.x - object->facing.x) < 1e-5f &&
              std::fabs(again->facing.y - object->facing.y) < 1e-5f);
    else if (!definition.autoFacing)
        check((again->facing.x >= 0.0f) == (object->facing.x >= 0.0f) && again->facing.y == 0.0f);
    if (object->kind() == zor::GameObjectKind::Resource) {
        const auto& resource = static_cast<const zor::ResourceObject&>(*object);
        const auto& copy = static_cast<const zor::ResourceObject&>(*again);
        checkSlots(resource.contents);
        checkSameSlots(resource.contents, copy.contents);
        check(sameBits(resource.remainingLifeTime, copy.remainingLifeTime));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool loaded = (loadDefinitions(), true);
    (void)loaded;
    if (size < 3) return 0;
    // A table that claims more strings than the bytes could hold only makes the run slow.
    const std::size_t stringCount = std::size_t(data[1]) | std::size_t(data[2]) << 8;
    if (stringCount * 2 > size - 3) return 0;
    zor::ByteWriter copy(size);
    for (std::size_t i = 1; i < size; ++i) copy.writeU8(data[i]);
    zor::ByteReader reader = readerOf(copy);
    zor::StringTable names;
    names.read(reader);
    if (reader.overflow()) return 0;
    const std::uint8_t selector = data[0] % 6;
    if (selector == 5)
        slotList(reader, names);
    else
        gameObject(selector, reader, names);
    return 0;
}
