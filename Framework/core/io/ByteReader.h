#pragma once
// Bounds-checked little-endian read cursor over a shared byte buffer. A read that would
// pass the end sets the overflow flag (never cleared) and reads nothing: integer reads
// then return 0, float and string reads leave their target alone. Callers read a whole
// record and test overflow() afterwards.

#include "Framework/core/io/ByteArray.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace zor {

class ByteReader {
public:
    // Reads `size` bytes of `data` from `start` on; a start past the end (a header the
    // caller skipped that the buffer does not hold) begins with overflow set.
    ByteReader(ByteArray data, std::size_t size, std::size_t start = 0);

    std::uint8_t readU8();
    std::uint16_t readU16();
    std::uint32_t readU32();
    std::int32_t readS32();
    void readFloat(float& target);
    // A 16-bit byte count, then that many bytes.
    void readString(std::string& target);
    std::string readStringValue();
    // `count` bytes into `target`; cut short, nothing is copied.
    void readBytes(void* target, std::size_t count);

    bool overflow() const { return m_overflow; }
    // Fails the record as a read past the end would: for a value that is present but
    // unusable (a non-finite coordinate, say).
    void setOverflow() { m_overflow = true; }
    std::size_t position() const { return m_position; }
    std::size_t size() const { return m_size; }
    std::size_t remaining() const { return m_size - m_position; }
    const ByteArray& data() const { return m_data; }

private:
    // True and advances when n bytes remain; otherwise sets overflow.
    bool take(std::size_t n, const std::uint8_t*& bytes);

    ByteArray m_data;
    std::size_t m_size;
    std::size_t m_position;
    bool m_overflow = false;
};

} // namespace zor
