#pragma once
// Easing curves over t (nominally 0 to 1), named in data files.

#include <cstdint>
#include <string>

namespace zor {

// Numbers are stored in data and may lie outside 0-11; every function below
// gives 0 for such a number.
enum class CurveType : std::int32_t {
    Linear = 0,
    Quadratic = 1,
    SmoothQuadratic = 2,
    Cubic = 3,
    SmoothStep = 4,
    InvLinear = 5,
    InvQuadratic = 6,
    InvSmoothQuadratic = 7,
    InvCubic = 8,
    InvSmoothStep = 9,
    One = 10,
    Zero = 11,
};

// The curve at t, with no clamping of t.
float evaluateCurve(CurveType curve, float t);
// Exact, case-sensitive match of the data-file name; anything else is Zero.
CurveType parseCurveType(const std::string& text);
// The curve running the other way (Linear <-> InvLinear ..., Zero -> One);
// One and unknown numbers give Zero.
CurveType invertCurve(CurveType curve);

// Rises with riseCurve from start to peak and falls with fallCurve from peak
// to end; below the range the rise curve is taken at the range's low end, at
// or past it the fall curve at the high end. An unknown curve gives 0 where
// it is the one evaluated.
float curveEnvelope(CurveType riseCurve, CurveType fallCurve, float x, float start, float peak, float end);

// A curve driven by time; the owner advances elapsed.
struct CurveTimer {
    float elapsed = 0.0f;
    float duration = 0.0f;
    CurveType curve = CurveType::Linear;

    // 1 for a duration that is not positive, else the curve at elapsed / duration clamped to [0, 1].
    float value() const;
};

} // namespace zor
