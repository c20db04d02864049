#pragma once
// A shuffled deck of outcomes drawn without replacement: n draws from a fresh deck of n
// entries give every entry once, and the next draw starts a new round with all entries.
// With weights, an entry is drawn with probability proportional to its weight among the
// entries not yet drawn in the round. The draws and their single-precision sums are part
// of what makes a stored level come out the same when it is generated again.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "Framework/core/math/IRandomizer.h"

namespace zor {

template <class T>
class RandomDeck {
public:
    struct Entry {
        T value;
        float weight;
    };

    // One entry per value, in order, each of weight 1.
    explicit RandomDeck(const std::vector<T>& values) {
        m_entries.reserve(values.size());
        for (const T& value : values) m_entries.push_back({value, 1.0f});
        recomputeTotal();
    }

    // Entries with weights of their own; the total is their sum in entry order.
    explicit RandomDeck(std::vector<Entry> entries) { assign(std::move(entries)); }

    // Replaces the entries and starts a new round.
    void assign(std::vector<Entry> entries) {
        m_entries = std::move(entries);
        recomputeTotal();
    }

    // Starts a new round without changing the entries' order.
    void reset() {
        m_drawn = 0;
        m_remainingWeight = m_totalWeight;
    }

    // The next outcome; one draw of the generator. A deck without entries has no outcome:
    // it yields T() and draws nothing.
    T draw(IRandomizer& randomizer) {
        if (m_entries.empty()) return T();
        if (m_drawn >= m_entries.size()) reset();
        const float r = randomizer.nextFloatRange(0.0f, m_remainingWeight);
        const std::size_t chosen = chosenIndex(r);
        m_remainingWeight -= m_entries[chosen].weight;
        if (chosen != m_drawn) std::swap(m_entries[chosen], m_entries[m_drawn]);
        return m_entries[m_drawn++].value;
    }

    std::size_t size() const { return m_entries.size(); }
    bool empty() const { return m_entries.empty(); }
    const std::vector<Entry>& entries() const { return m_entries; }
    std::size_t drawn() const { return m_drawn; }
    float totalWeight() const { return m_totalWeight; }

private:
    void recomputeTotal() {
        m_totalWeight = 0.0f;
        m_unitWeights = true;
        for (const Entry& entry : m_entries) {
            m_totalWeight += entry.weight;
            m_unitWeights = m_unitWeights && entry.weight == 1.0f;
        }
        reset();
    }

    // The first undrawn entry at which the running single-precision sum reaches r. A sum that
    // rounding leaves just below r yields the last entry.
    std::size_t chosenIndex(float r) const {
        const std::size_t last = m_entries.size() - 1;
        // Unit weights sum exactly below 2^24, so the walk would end at ceil(r) entries: take
        // that index at once, since candidate decks can hold tens of thousands of entries.
        if (m_unitWeights && m_entries.size() < (std::size_t(1) << 24)) {
            if (r <= 1.0f) return m_drawn;
            if (!(r > 1.0f)) return last;  // NaN, which no sum reaches
            const double steps = static_cast<double>(static_cast<std::int64_t>(r));
            const std::size_t reach = static_cast<std::size_t>(steps < double(r) ? steps + 1.0 : steps);
            return std::min(m_drawn + reach - 1, last);
        }
        float sum = 0.0f;
        for (std::size_t i = m_drawn; i <= last; ++i) {
            sum += m_entries[i].weight;
            if (r <= sum) return i;
        }
        return last;
    }

    std::vector<Entry> m_entries;
    std::size_t m_drawn = 0;
    float m_totalWeight = 0.0f;
    float m_remainingWeight = 0.0f;
    bool m_unitWeights = true;
};

} // namespace zor
