#pragma once
// A 64-bit FNV-1a digest built field by field; floats enter by their bits, so two states
// hash alike only when every value is bit for bit the same.

#include "Framework/core/math/Rect.h"
#include "Framework/core/math/Vector.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace zor::test {

class StateHash {
public:
    void add(const void* bytes, std::size_t size) {
        const auto* p = static_cast<const std::uint8_t*>(bytes);
        for (std::size_t i = 0; i < size; ++i) m_value = (m_value ^ p[i]) * 0x100000001B3ull;
    }
    void add(std::uint64_t value) { add(&value, sizeof value); }
    void add(float value) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        add(std::uint64_t(bits));
    }
    void add(const std::string& text) {
        add(std::uint64_t(text.size()));
        add(text.data(), text.size());
    }
    void add(const fpVector2& v) {
        add(v.x);
        add(v.y);
    }
    void add(const fpRect& r) {
        add(r.x);
        add(r.y);
        add(r.w);
        add(r.h);
    }

    std::uint64_t value() const { return m_value; }

private:
    std::uint64_t m_value = 0xCBF29CE484222325ull;
};

} // namespace zor::test
