#pragma once
// 4x4 float matrix, column-major: row r, column c is m[4c + r]; points are
// column vectors, so the translation sits in m[12], m[13], m[14].

namespace zor {

struct fpMatrix4 {
    float m[16];

    // The identity.
    fpMatrix4();

    static fpMatrix4 identity() { return fpMatrix4(); }
    static fpMatrix4 translation(float x, float y, float z);
    static fpMatrix4 scaling(float x, float y, float z);

    float& operator[](int index) { return m[index]; }
    float operator[](int index) const { return m[index]; }

    // out = this * other (other is applied to a point first). out may alias either operand.
    void multiply(const fpMatrix4& other, fpMatrix4& out) const;
    // Cofactor inverse; the determinant must not be zero.
    void inverse(fpMatrix4& out) const;
};

// Rotation about the x axis: rows (1, 0, 0, 0), (0, c, s, 0), (0, -s, c, 0), (0, 0, 0, 1)
// with c = cos angle, s = sin angle.
fpMatrix4 makeRotationXMatrix(float angle);

bool operator==(const fpMatrix4& a, const fpMatrix4& b);
inline bool operator!=(const fpMatrix4& a, const fpMatrix4& b) { return !(a == b); }

} // namespace zor
