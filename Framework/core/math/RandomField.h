#pragma once
// A weighted choice among values whose weights depend on a position: each entry is a
// bell curve of its own amplitude, centre and width, and a pick draws an entry with
// probability proportional to the curves' heights at the position. The single-precision
// roundings are those stored levels were generated with.

#include <cmath>
#include <vector>

#include "Framework/core/math/IRandomizer.h"

namespace zor {

template <class T>
class RandomField {
public:
    struct Entry {
        T value;
        float amplitude;
        float centre;
        float width;
        float weight;  // written by every pick
    };

    explicit RandomField(std::vector<Entry> entries) : m_entries(std::move(entries)) {}

    // One draw of the generator. An entry at its own centre weighs its amplitude. The field
    // must hold at least one entry.
    const Entry& pick(IRandomizer& randomizer, float position) {
        float total = 0.0f;
        for (Entry& entry : m_entries) {
            entry.weight = weightAt(entry, position);
            total += entry.weight;
        }
        const float r = randomizer.nextFloatRange(0.0f, total);
        float sum = 0.0f;
        for (const Entry& entry : m_entries) {
            sum += entry.weight;
            if (sum >= r) return entry;
        }
        return m_entries.back();
    }

    const std::vector<Entry>& entries() const { return m_entries; }

private:
    // The normal density at the position divided by its peak, times the amplitude:
    // amplitude * exp(-d^2 / (2 width^2)), rounded as the stored levels were.
    static float weightAt(const Entry& entry, float position) {
        const double d = double(position) - double(entry.centre);
        const float widthSquared = entry.width * entry.width;
        const float exponent = float(double(float(d * d)) / double(2.0f * widthSquared));
        const float bell = float(std::exp(-double(exponent)));
        const double norm = 1.0 / std::sqrt(double(6.2831855f * widthSquared));
        const float density = float(double(bell) * norm);
        const float peak = float(norm);
        return float(double(density) / double(peak) * double(entry.amplitude));
    }

    std::vector<Entry> m_entries;
};

} // namespace zor
