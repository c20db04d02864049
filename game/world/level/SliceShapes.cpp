#include "game/world/level/SliceShapes.h"

#include <algorithm>
#include <cmath>

#include "Framework/core/math/IRandomizer.h"
#include "Framework/core/math/Noise.h"
#include "game/world/level/LevelMath.h"

namespace zor {

namespace {

double signOf(double value) { return value > 0.0 ? 1.0 : (value < 0.0 ? -1.0 : 0.0); }

float fieldNoise(const FillerField& field, float offset, std::int32_t x, std::int32_t y) {
    const float u = float(double(offset) + double(x) * double(field.freq) * double(field.freqX));
    const float v = float(double(offset) + double(y) * double(field.freq) * double(field.freqY));
    return simplexNoise2D(field.octaves, u, v, field.persistence);
}

// 0 on the cells of the circle field's two rounded corners, 1 elsewhere.
float circleValue(const FillerField& field, const iRect& r, std::int32_t x, std::int32_t y) {
    const std::int64_t dy = std::int64_t(y) - r.y;
    const std::int64_t dx = std::min<std::int64_t>(std::int64_t(x) - r.x, std::int64_t(r.x) + r.w - 1 - x);
    const std::int64_t half = (std::int64_t(r.w) - field.gap) / 2;
    const std::int64_t radius = field.radius;
    const std::int64_t s = radius * radius - (dy - radius) * (dy - radius);
    if (s < 0) return 1.0f;
    const std::int64_t reach = std::min<std::int64_t>(half, truncToInt(double(radius) - double(std::sqrt(float(s)))));
    return dx > reach ? 1.0f : 0.0f;
}

} // namespace

FieldMask::FieldMask(std::int32_t width, std::int32_t height)
    : m_width(std::max(width, 0)),
      m_height(std::max(height, 0)),
      m_wordsPerRow((std::size_t(m_width) + 31) / 32),
      m_words(m_wordsPerRow * std::size_t(m_height), 0xFFFFFFFFu) {}

void FieldMask::clear(std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h) {
    const std::int64_t left = std::max<std::int64_t>(x, 0);
    const std::int64_t right = std::min<std::int64_t>(x + w, m_width);
    const std::int64_t top = std::max<std::int64_t>(y, 0);
    const std::int64_t bottom = std::min<std::int64_t>(y + h, m_height);
    if (left >= right) return;
    for (std::int64_t row = top; row < bottom; ++row) {
        std::uint32_t* words = &m_words[std::size_t(row) * m_wordsPerRow];
        for (std::int64_t column = left; column < right;) {
            const std::int64_t bit = column % 32;
            const std::int64_t count = std::min<std::int64_t>(32 - bit, right - column);
            const std::uint32_t bits = count == 32 ? 0xFFFFFFFFu : ((1u << count) - 1u) << bit;
            words[column / 32] &= ~bits;
            column += count;
        }
    }
}

FieldMask drawFieldMask(const FillerField& field, const iRect& r, IRandomizer& randomizer, bool legacy) {
    FieldMask mask(r.w, r.h);
    if (field.style != FieldStyle::Rect) return mask;
    // The legacy generator draws from one cell and one size less.
    const std::int32_t open = legacy ? 0 : 1;
    for (std::int32_t i = 0; i < field.numberOfFields; ++i) {
        const std::int64_t left = std::int64_t(r.x) + randomizer.nextIntRange(0, r.w - 1 + open);
        const std::int64_t top = std::int64_t(r.y) + randomizer.nextIntRange(0, r.h - 1 + open);
        std::int64_t w = randomizer.nextIntRange(field.minSizeX, field.maxSizeX + open);
        std::int64_t h = randomizer.nextIntRange(field.minSizeY, field.maxSizeY + open);
        w = std::min<std::int64_t>(w, std::int64_t(r.x) + r.w - left);
        h = std::min<std::int64_t>(h, std::int64_t(r.y) + r.h - top);
        mask.clear(left - r.x, top - r.y, w, h);
    }
    return mask;
}

bool fieldCovers(const FillerField& field, const iRect& r, const FieldMask& mask, float offset, std::int32_t x,
                 std::int32_t y) {
    switch (field.style) {
    case FieldStyle::Basic:
        return field.max > fieldNoise(field, offset, x, y);
    case FieldStyle::Abs:
        return double(field.max) > std::fabs(2.0 * double(fieldNoise(field, offset, x, y)) - 1.0);
    case FieldStyle::Rect:
        return field.max > (mask.isSet(x - r.x, y - r.y) ? 1.0f : 0.0f);
    case FieldStyle::Circle:
        return field.max > circleValue(field, r, x, y);
    }
    return false;
}

std::int32_t borderWidthAt(BorderStyle style, std::int32_t borderWidth, float valueA, std::int64_t phase) {
    // The sines stay in double and the noise rounds to float, as stored levels were made.
    const double width = borderWidth;
    switch (style) {
    case BorderStyle::Simplex: {
        const float argument = float(double(valueA) * double(phase));
        const float height = float((double(simplexNoise1D(argument)) + 1.0) * 0.5);
        return truncToInt(double(height) * width);
    }
    case BorderStyle::Sinus:
        return truncToInt((std::sin(double(valueA) * double(phase)) + 1.0) * 0.5 * width);
    case BorderStyle::Saw:
        return borderWidth > 0 ? std::int32_t(phase % borderWidth) : 0;
    case BorderStyle::Square:
        return truncToInt((signOf(std::sin(double(valueA) * double(phase))) + 1.0) * 0.5 * (width - 1.0));
    }
    return 0;
}

} // namespace zor
