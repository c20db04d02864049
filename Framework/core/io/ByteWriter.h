#pragma once
// Growable little-endian byte buffer for binary saves; the capacity doubles when full.

#include "Framework/core/io/ByteArray.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace zor {

class ByteWriter {
public:
    explicit ByteWriter(std::size_t initialCapacity);

    // Moves the content into a new buffer of `capacity` bytes.
    void reserve(std::size_t capacity);

    void writeU8(std::uint8_t value);
    void writeU16(std::uint16_t value);
    void writeU32(std::uint32_t value);
    void writeS32(std::int32_t value);
    void writeFloat(float value);
    // A 16-bit byte count, then the bytes. Throws CheckReleaseError for a text over
    // 65535 bytes, whose length the count cannot hold.
    void writeString(const std::string& text);
    // The bytes as they are, without a count.
    void writeBytes(const void* bytes, std::size_t count);

    const ByteArray& data() const { return m_data; }
    std::size_t size() const { return m_size; }
    std::size_t capacity() const { return m_capacity; }

private:
    std::uint8_t* grow(std::size_t n);

    ByteArray m_data;
    std::size_t m_capacity = 0;
    std::size_t m_size = 0;
};

} // namespace zor
