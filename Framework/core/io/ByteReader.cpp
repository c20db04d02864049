#include "Framework/core/io/ByteReader.h"

#include <cstring>

namespace zor {

ByteReader::ByteReader(ByteArray data, std::size_t size, std::size_t start)
    : m_data(std::move(data)), m_size(size), m_position(start) {
    if (start > size) {
        m_position = size;
        m_overflow = true;
    }
}

bool ByteReader::take(std::size_t n, const std::uint8_t*& bytes) {
    if (remaining() < n) {
        m_overflow = true;
        return false;
    }
    bytes = m_data.get() + m_position;
    m_position += n;
    return true;
}

std::uint8_t ByteReader::readU8() {
    const std::uint8_t* b = nullptr;
    return take(1, b) ? b[0] : 0;
}

std::uint16_t ByteReader::readU16() {
    const std::uint8_t* b = nullptr;
    if (!take(2, b)) return 0;
    return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}

std::uint32_t ByteReader::readU32() {
    const std::uint8_t* b = nullptr;
    if (!take(4, b)) return 0;
    return std::uint32_t(b[0]) | (std::uint32_t(b[1]) << 8) | (std::uint32_t(b[2]) << 16) |
           (std::uint32_t(b[3]) << 24);
}

std::int32_t ByteReader::readS32() {
    return static_cast<std::int32_t>(readU32());
}

void ByteReader::readFloat(float& target) {
    if (remaining() < 4) {
        m_overflow = true;
        return;
    }
    const std::uint32_t bits = readU32();
    std::memcpy(&target, &bits, sizeof target);
}

void ByteReader::readString(std::string& target) {
    const std::uint16_t count = readU16();
    target.resize(count);
    const std::uint8_t* b = nullptr;
    if (count == 0 || !take(count, b)) return;
    std::memcpy(target.data(), b, count);
}

void ByteReader::readBytes(void* target, std::size_t count) {
    const std::uint8_t* b = nullptr;
    if (count > 0 && take(count, b)) std::memcpy(target, b, count);
}

std::string ByteReader::readStringValue() {
    std::string text;
    readString(text);
    return text;
}

} // namespace zor
