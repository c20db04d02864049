#include "Framework/core/math/Vector.h"

#include <cmath>
#include <istream>
#include <ostream>

#include "Framework/core/math/Angle.h"
#include "Framework/core/math/Scalar.h"
#include "Framework/core/math/TextForm.h"

namespace zor {

const fpVector2& fpVector2::zero() {
    static const fpVector2 value;
    return value;
}

fpVector2 fpVector2::fromAngle(float angle) { return {std::cos(angle), std::sin(angle)}; }

fpVector2 fpVector2::divideByLength(float length, const fpVector2& v) {
    return length > 0.0f ? fpVector2(v.x / length, v.y / length) : fpVector2();
}

float fpVector2::length() const { return std::sqrt(x * x + y * y); }

fpVector2 fpVector2::normalized() const { return divideByLength(length(), *this); }

fpVector2 fpVector2::unit() const {
    const float l = length();
    return {x / l, y / l};
}

void fpVector2::normalize() { *this = unit(); }

fpVector2 fpVector2::rounded() const { return {roundHalfAway(x), roundHalfAway(y)}; }

void fpVector2::projectOn(const fpVector2& direction) { *this = direction.unit() * direction.dot(*this); }

float fpVector2::angle() const {
    const float a = std::atan2(y, x);
    return a < 0.0f ? a + kTwoPi : a;
}

void fpVector2::rotate(float angle) {
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    const float rx = x * c - y * s;
    y = x * s + y * c;
    x = rx;
}

bool nearWithin(const fpVector2& a, const fpVector2& b, float tolerance) {
    return std::fabs(a.x - b.x) < tolerance && std::fabs(a.y - b.y) < tolerance;
}

std::ostream& operator<<(std::ostream& out, const fpVector2& v) { return out << v.x << ';' << v.y; }

std::istream& operator>>(std::istream& in, fpVector2& v) {
    in >> v.x;
    skipSeparator(in);
    return in >> v.y;
}

std::istream& operator>>(std::istream& in, iVector2& v) {
    in >> v.x;
    skipSeparator(in);
    return in >> v.y;
}

std::ostream& operator<<(std::ostream& out, const fpVector3& v) {
    return out << v.x << ';' << v.y << ';' << v.z;
}

std::istream& operator>>(std::istream& in, fpVector3& v) {
    in >> v.x;
    skipSeparator(in);
    in >> v.y;
    skipSeparator(in);
    return in >> v.z;
}

} // namespace zor
