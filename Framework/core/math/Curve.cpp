#include "Framework/core/math/Curve.h"

#include <algorithm>

namespace zor {
namespace {

// Indexed by curve number.
const char* const kCurveNames[] = {
    "Linear",       "Quadratic",          "SmoothQuadratic", "Cubic",         "SmoothStep", "InvLinear",
    "InvQuadratic", "InvSmoothQuadratic", "InvCubic",        "InvSmoothStep", "One",        "Zero",
};
constexpr std::int32_t kCurveCount = 12;

} // namespace

float evaluateCurve(CurveType curve, float t) {
    const float smoothStep = 3.0f * t * t - 2.0f * t * t * t;
    switch (curve) {
    case CurveType::Linear: return t;
    case CurveType::Quadratic: return t * t;
    case CurveType::SmoothQuadratic: return 1.0f - (t - 1.0f) * (t - 1.0f);
    case CurveType::Cubic: return (t - 1.0f) * (t - 1.0f) * (t - 1.0f) + 1.0f;
    case CurveType::SmoothStep: return smoothStep;
    case CurveType::InvLinear: return 1.0f - t;
    case CurveType::InvQuadratic: return 1.0f - t * t;
    case CurveType::InvSmoothQuadratic: return (t - 1.0f) * (t - 1.0f);
    case CurveType::InvCubic: return 1.0f - t * t * t;
    case CurveType::InvSmoothStep: return 1.0f - smoothStep;
    case CurveType::One: return 1.0f;
    case CurveType::Zero: return 0.0f;
    }
    return 0.0f;
}

CurveType parseCurveType(const std::string& text) {
    for (std::int32_t i = 0; i < kCurveCount; ++i) {
        if (text == kCurveNames[i])
            return static_cast<CurveType>(i);
    }
    return CurveType::Zero;
}

CurveType invertCurve(CurveType curve) {
    const auto number = static_cast<std::int32_t>(curve);
    if (number >= 0 && number <= 4)
        return static_cast<CurveType>(number + 5);
    if (number >= 5 && number <= 9)
        return static_cast<CurveType>(number - 5);
    return curve == CurveType::Zero ? CurveType::One : CurveType::Zero;
}

float curveEnvelope(CurveType riseCurve, CurveType fallCurve, float x, float start, float peak, float end) {
    const float low = std::min(start, end);
    const float high = std::max(start, end);
    peak = std::clamp(peak, low, high);
    if (x < low)
        return evaluateCurve(riseCurve, low);
    if (x < peak)
        return evaluateCurve(riseCurve, (x - low) / (peak - low));
    if (x < high)
        return evaluateCurve(fallCurve, (x - peak) / (high - peak));
    return evaluateCurve(fallCurve, high);
}

float CurveTimer::value() const {
    if (!(duration > 0.0f))
        return 1.0f;
    return evaluateCurve(curve, std::clamp(elapsed / duration, 0.0f, 1.0f));
}

} // namespace zor
