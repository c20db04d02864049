#include "Framework/core/io/ByteWriter.h"

#include "Framework/core/Errors.h"

#include <algorithm>
#include <cstring>

namespace zor {

namespace {

constexpr std::size_t MaxStringBytes = 65535;

} // namespace

ByteWriter::ByteWriter(std::size_t initialCapacity) {
    reserve(initialCapacity);
}

void ByteWriter::reserve(std::size_t capacity) {
    ByteArray bigger(new std::uint8_t[capacity]);
    if (m_size > 0) std::memcpy(bigger.get(), m_data.get(), std::min(m_size, capacity));
    m_data = std::move(bigger);
    m_capacity = capacity;
    m_size = std::min(m_size, capacity);
}

std::uint8_t* ByteWriter::grow(std::size_t n) {
    if (m_size + n > m_capacity) reserve(std::max(m_size + n, 2 * m_capacity));
    std::uint8_t* target = m_data.get() + m_size;
    m_size += n;
    return target;
}

void ByteWriter::writeU8(std::uint8_t value) {
    *grow(1) = value;
}

void ByteWriter::writeU16(std::uint16_t value) {
    std::uint8_t* b = grow(2);
    b[0] = static_cast<std::uint8_t>(value);
    b[1] = static_cast<std::uint8_t>(value >> 8);
}

void ByteWriter::writeU32(std::uint32_t value) {
    std::uint8_t* b = grow(4);
    for (int i = 0; i < 4; ++i) b[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void ByteWriter::writeS32(std::int32_t value) {
    writeU32(static_cast<std::uint32_t>(value));
}

void ByteWriter::writeFloat(float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    writeU32(bits);
}

void ByteWriter::writeString(const std::string& text) {
    if (text.size() > MaxStringBytes)
        throw CheckReleaseError("Text too long for a binary file: " + std::to_string(text.size()) +
                                " bytes, at most " + std::to_string(MaxStringBytes) + " allowed");
    writeU16(static_cast<std::uint16_t>(text.size()));
    writeBytes(text.data(), text.size());
}

void ByteWriter::writeBytes(const void* bytes, std::size_t count) {
    if (count > 0) std::memcpy(grow(count), bytes, count);
}

} // namespace zor
