// Reads arbitrary bytes as a level's entity record against the sample game data's
// definitions: a string table in its stored form, then the record. Every object read is
// whole (finite position and facing, a definition of its kind); a record that reads to its
// end is written again as a record that reads back to the same objects and bytes.
//   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DZOR_FUZZ=ON -DZOR_BENCHMARKS=OFF
//   cmake --build build-fuzz --target bundle fuzz_entity_records
//   build-fuzz/fuzz/fuzz_entity_records -max_total_time=60
// The game data is build-fuzz/BundlePC, or the folder ZOR_FUZZ_BUNDLE names.

#include "game/definitions/LoadAllDefinitions.h"
#include "game/world/EntityRecords.h"
#include "game/world/entity/GameObject.h"
#include "game/world/level/PatchLibrarySections.h"

#include "Framework/core/io/ByteReader.h"
#include "Framework/core/io/ByteWriter.h"
#include "Framework/core/io/Files.h"
#include "Framework/core/io/StringTable.h"
#include "Framework/core/math/Randomizer.h"
#include "fuzz/support/FuzzFolders.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

bool finite(const zor::fpVector2& v) { return std::isfinite(v.x) && std::isfinite(v.y); }

struct Objects {
    std::vector<zor::GameObject*> list;
    ~Objects() {
        for (zor::GameObject* object : list) delete object;
    }
};

std::vector<std::uint8_t> written(const Objects& objects, zor::StringTableDynamic& names) {
    std::vector<zor::Entity*> entities(objects.list.begin(), objects.list.end());
    std::vector<std::uint8_t> record;
    zor::writeEntities(entities, record, names);
    return record;
}

bool readAll(const std::vector<std::uint8_t>& record, const zor::StringTable& names, Objects& out) {
    static zor::Randomizer random = zor::Randomizer::fromSeed(1);
    zor::ByteArray copy(new std::uint8_t[record.size() + 1]);
    if (!record.empty()) std::memcpy(copy.get(), record.data(), record.size());
    zor::ByteReader reader(copy, record.size());
    zor::readEntities(reader, names, random, out.list);
    return !reader.overflow() && reader.remaining() == 0;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const char* bundle = std::getenv("ZOR_FUZZ_BUNDLE");
    zor::initFileSystem(bundle ? bundle : "build-fuzz/BundlePC");
    zor::installPatchLibraryReader();
    zor::loadAllDefinitions();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using zor::fuzz::check;
    if (size < 2) return 0;
    // A table that claims more strings than the bytes could hold only makes the run slow.
    const std::size_t stringCount = std::size_t(data[0]) | std::size_t(data[1]) << 8;
    if (stringCount * 2 > size - 2) return 0;
    zor::ByteArray copy(new std::uint8_t[size]);
    std::memcpy(copy.get(), data, size);
    zor::ByteReader tableReader(copy, size);
    zor::StringTable names;
    names.read(tableReader);
    if (tableReader.overflow()) return 0;
    const std::vector<std::uint8_t> record(data + tableReader.position(), data + size);

    Objects objects;
    const bool whole = readAll(record, names, objects);
    for (const zor::GameObject* object : objects.list) {
        check(finite(object->getPosition()) && finite(object->facing));
        check(object->kind() == zor::GameObjectKind::Actor || object->kind() == zor::GameObjectKind::Resource);
    }
    if (!whole) return 0;

    zor::StringTableDynamic table;
    const std::vector<std::uint8_t> first = written(objects, table);
    Objects again;
    check(readAll(first, table, again));
    check(again.list.size() == objects.list.size());
    for (std::size_t i = 0; i < objects.list.size(); ++i) {
        check(&again.list[i]->gameObjectDefinition() == &objects.list[i]->gameObjectDefinition());
        check(again.list[i]->getPosition() == objects.list[i]->getPosition());
    }
    zor::StringTableDynamic secondTable;
    check(written(again, secondTable) == first);
    return 0;
}
