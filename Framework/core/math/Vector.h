#pragma once
// Two- and three-component vectors shared by geometry, physics and drawing.
// Screen and world y grow downwards.

#include <cstdint>
#include <iosfwd>

namespace zor {

struct fpVector2 {
    float x = 0.0f;
    float y = 0.0f;

    constexpr fpVector2() = default;
    constexpr fpVector2(float xValue, float yValue) : x(xValue), y(yValue) {}

    // The one shared zero vector.
    static const fpVector2& zero();
    // (cos a, sin a).
    static fpVector2 fromAngle(float angle);
    // v / length when length > 0, else zero: the guarded division callers use
    // when they already hold the length.
    static fpVector2 divideByLength(float length, const fpVector2& v);

    float length() const;
    float dot(const fpVector2& other) const { return x * other.x + y * other.y; }
    // Zero when the length is not positive.
    fpVector2 normalized() const;
    // Unguarded: only for vectors known to be non-zero.
    fpVector2 unit() const;
    void normalize();
    bool isZero() const { return x == 0.0f && y == 0.0f; }
    fpVector2 orIfZero(const fpVector2& fallback) const { return isZero() ? fallback : *this; }
    // Both components rounded half away from zero.
    fpVector2 rounded() const;
    // Replaces this by unit(d) * (d . this); the projection on d when d is a unit vector.
    void projectOn(const fpVector2& direction);
    // atan2(y, x) moved into [0, 2*pi).
    float angle() const;
    // In place, by the angle in radians (cos and sin taken in float).
    void rotate(float angle);

    fpVector2& operator+=(const fpVector2& o) { x += o.x; y += o.y; return *this; }
    fpVector2& operator-=(const fpVector2& o) { x -= o.x; y -= o.y; return *this; }
    fpVector2& operator*=(float s) { x *= s; y *= s; return *this; }
    fpVector2& operator/=(float s) { x /= s; y /= s; return *this; }
};

inline fpVector2 operator+(fpVector2 a, const fpVector2& b) { return a += b; }
inline fpVector2 operator-(fpVector2 a, const fpVector2& b) { return a -= b; }
inline fpVector2 operator-(const fpVector2& a) { return {-a.x, -a.y}; }
inline fpVector2 operator*(fpVector2 a, float s) { return a *= s; }
inline fpVector2 operator*(float s, fpVector2 a) { return a *= s; }
inline fpVector2 operator/(fpVector2 a, float s) { return a /= s; }
// Component-wise product (scales, per-axis factors).
inline fpVector2 operator*(const fpVector2& a, const fpVector2& b) { return {a.x * b.x, a.y * b.y}; }
inline bool operator==(const fpVector2& a, const fpVector2& b) { return a.x == b.x && a.y == b.y; }
inline bool operator!=(const fpVector2& a, const fpVector2& b) { return !(a == b); }

// Both absolute component differences strictly below the tolerance.
bool nearWithin(const fpVector2& a, const fpVector2& b, float tolerance);

struct iVector2 {
    std::int32_t x = 0;
    std::int32_t y = 0;

    constexpr iVector2() = default;
    constexpr iVector2(std::int32_t xValue, std::int32_t yValue) : x(xValue), y(yValue) {}
};

inline iVector2 operator+(const iVector2& a, const iVector2& b) { return {a.x + b.x, a.y + b.y}; }
inline iVector2 operator-(const iVector2& a, const iVector2& b) { return {a.x - b.x, a.y - b.y}; }
inline bool operator==(const iVector2& a, const iVector2& b) { return a.x == b.x && a.y == b.y; }
inline bool operator!=(const iVector2& a, const iVector2& b) { return !(a == b); }

// Also a circle (centre x, centre y, radius) for the collision helpers.
struct fpVector3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    constexpr fpVector3() = default;
    constexpr fpVector3(float xValue, float yValue, float zValue) : x(xValue), y(yValue), z(zValue) {}
};

inline fpVector3 operator+(const fpVector3& a, const fpVector3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline fpVector3 operator-(const fpVector3& a, const fpVector3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline fpVector3 operator*(const fpVector3& a, float s) { return {a.x * s, a.y * s, a.z * s}; }
inline bool operator==(const fpVector3& a, const fpVector3& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }
inline bool operator!=(const fpVector3& a, const fpVector3& b) { return !(a == b); }

// Text forms: numbers separated by ";" when written; when read, any single
// character separates them and white space before a number follows the
// stream's skipws flag (so whole-text conversions reject "1; 2").
std::ostream& operator<<(std::ostream& out, const fpVector2& v);
std::istream& operator>>(std::istream& in, fpVector2& v);
std::istream& operator>>(std::istream& in, iVector2& v);
std::ostream& operator<<(std::ostream& out, const fpVector3& v);
std::istream& operator>>(std::istream& in, fpVector3& v);

} // namespace zor
