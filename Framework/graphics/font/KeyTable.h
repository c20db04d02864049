#pragma once
// A map from 32-bit keys to values, built once and then only read: open addressing with
// linear probing in a power-of-two table at most half full, so a lookup is a multiply, a
// shift and mostly a single probe.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zor {

template <class Value>
class KeyTable {
public:
    // Room for `count` keys; add() them afterwards.
    explicit KeyTable(std::size_t count = 0) {
        std::size_t size = 8;
        m_shift = 29;
        while (size < 2 * count) {
            size *= 2;
            --m_shift;
        }
        m_slots.resize(size);
    }

    // The first value added under a key is kept, as a lower-bound search of a table sorted
    // by key finds the first of equal keys.
    void add(std::uint32_t key, const Value& value) {
        for (std::size_t i = slotOf(key);; i = (i + 1) & (m_slots.size() - 1)) {
            Slot& slot = m_slots[i];
            if (!slot.used) {
                slot = Slot{key, true, value};
                return;
            }
            if (slot.key == key) return;
        }
    }

    // The value of the key, or null.
    const Value* find(std::uint32_t key) const {
        for (std::size_t i = slotOf(key);; i = (i + 1) & (m_slots.size() - 1)) {
            const Slot& slot = m_slots[i];
            if (!slot.used) return nullptr;
            if (slot.key == key) return &slot.value;
        }
    }

private:
    struct Slot {
        std::uint32_t key = 0;
        bool used = false;
        Value value{};
    };

    std::size_t slotOf(std::uint32_t key) const { return (key * 0x9E3779B1u) >> m_shift; }

    std::vector<Slot> m_slots;
    unsigned m_shift;
};

} // namespace zor
