// Reads string tables from arbitrary bytes. A table read without overflow must write back
// to exactly the bytes it was read from, and the dynamic table's index must find each entry.
//   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DZOR_FUZZ=ON -DZOR_BENCHMARKS=OFF
//   cmake --build build-fuzz --target fuzz_string_table
//   build-fuzz/fuzz/fuzz_string_table -max_total_time=30

#include "Framework/core/io/ByteReader.h"
#include "Framework/core/io/ByteWriter.h"
#include "Framework/core/io/StringTable.h"

#include <cstdint>
#include <cstring>

namespace {

void check(bool condition) {
    if (!condition) __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zor::ByteArray buffer(new std::uint8_t[size]);
    if (size > 0) std::memcpy(buffer.get(), data, size);

    zor::ByteReader plainReader(buffer, size);
    zor::StringTable plain;
    const std::size_t count = plain.read(plainReader);
    check(count == plain.size() && count <= zor::StringTable::MaxEntries);
    check(plain.at(count).empty());

    zor::ByteReader reader(buffer, size);
    zor::StringTableDynamic table;
    check(table.read(reader) == count);
    check(reader.overflow() == plainReader.overflow() && reader.position() == plainReader.position());
    check(table.strings() == plain.strings());
    if (reader.overflow()) return 0;

    zor::ByteWriter writer(16);
    table.write(writer);
    check(writer.size() == reader.position());
    check(std::memcmp(writer.data().get(), data, writer.size()) == 0);

    for (std::size_t i = 0; i < count; ++i) check(table.at(table.indexOf(table.at(i))) == table.at(i));
    check(table.size() == count);
    return 0;
}
