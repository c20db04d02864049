// Runs a script of reads (taken from the front of the input) over the rest of the input
// and checks every result, the cursor and the overflow flag against the bounds rules.
//   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DZOR_FUZZ=ON -DZOR_BENCHMARKS=OFF
//   cmake --build build-fuzz --target fuzz_byte_reader
//   build-fuzz/fuzz/fuzz_byte_reader -max_total_time=30

#include "Framework/core/io/ByteReader.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

namespace {

void check(bool condition) {
    if (!condition) __builtin_trap();
}

std::uint32_t littleEndian(const std::uint8_t* bytes, std::size_t width) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < width; ++i) value |= std::uint32_t(bytes[i]) << (8 * i);
    return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    // Byte 0: script length; byte 1: start offset; then the script; the rest is the buffer.
    const std::size_t scriptLength = std::min<std::size_t>(data[0] % 32, size - 2);
    const std::size_t start = data[1] % 8;
    const std::uint8_t* script = data + 2;
    const std::size_t bufferSize = size - 2 - scriptLength;
    zor::ByteArray buffer(new std::uint8_t[bufferSize]);
    const std::uint8_t* bytes = buffer.get();
    if (bufferSize > 0) std::memcpy(buffer.get(), script + scriptLength, bufferSize);

    zor::ByteReader reader(buffer, bufferSize, start);
    bool overflow = start > bufferSize;
    check(reader.overflow() == overflow);

    for (std::size_t i = 0; i < scriptLength; ++i) {
        const std::size_t at = reader.position();
        const std::size_t left = bufferSize - at;
        std::size_t expectedPosition = at;
        switch (script[i] % 6) {
        case 0:
        case 1:
        case 2: {
            const std::size_t width = std::size_t(1) << (script[i] % 6);
            const std::uint32_t value = width == 1 ? reader.readU8() : width == 2 ? reader.readU16() : reader.readU32();
            const bool fits = left >= width;
            check(value == (fits ? littleEndian(bytes + at, width) : 0));
            if (fits) expectedPosition += width;
            else overflow = true;
            break;
        }
        case 3: {
            const std::int32_t value = reader.readS32();
            const bool fits = left >= 4;
            check(value == (fits ? static_cast<std::int32_t>(littleEndian(bytes + at, 4)) : 0));
            if (fits) expectedPosition += 4;
            else overflow = true;
            break;
        }
        case 4: {
            float value = 7.0f;
            reader.readFloat(value);
            if (left >= 4) {
                check(std::memcmp(&value, bytes + at, 4) == 0);
                expectedPosition += 4;
            } else {
                check(value == 7.0f);
                overflow = true;
            }
            break;
        }
        case 5: {
            const std::string old = "previous text";
            std::string text = old;
            reader.readString(text);
            if (left < 2) {
                check(text.empty());
                overflow = true;
                break;
            }
            const std::size_t count = littleEndian(bytes + at, 2);
            expectedPosition += 2;
            check(text.size() == count);
            if (left - 2 >= count) {
                check(count == 0 || std::memcmp(text.data(), bytes + at + 2, count) == 0);
                expectedPosition += count;
            } else {
                const std::size_t kept = std::min(count, old.size());
                check(text.compare(0, kept, old, 0, kept) == 0);
                check(text.find_first_not_of('\0', kept) == std::string::npos);
                overflow = true;
            }
            break;
        }
        }
        check(reader.position() == expectedPosition);
        check(reader.overflow() == overflow);
    }
    return 0;
}
