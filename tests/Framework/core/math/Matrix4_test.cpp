#include "Framework/core/math/Matrix4.h"

#include "Framework/core/math/Angle.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zor {
namespace {

// The matrix times the column (x, y, z, 1).
void transform(const fpMatrix4& m, float x, float y, float z, float out[3]) {
    for (int r = 0; r < 3; ++r)
        out[r] = m[r] * x + m[4 + r] * y + m[8 + r] * z + m[12 + r];
}

TEST(Matrix4Test, ConstructorsAndLayout) {
    const fpMatrix4 identity;
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(identity[i], (i % 5 == 0) ? 1.0f : 0.0f) << i;

    const fpMatrix4 t = fpMatrix4::translation(3, 4, 5);
    fpMatrix4 expected;
    expected[12] = 3;
    expected[13] = 4;
    expected[14] = 5;
    EXPECT_EQ(t, expected);

    const fpMatrix4 s = fpMatrix4::scaling(2, 3, 4);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(s[i], i == 0 ? 2.0f : i == 5 ? 3.0f : i == 10 ? 4.0f : i == 15 ? 1.0f : 0.0f) << i;
}

TEST(Matrix4Test, MultiplyAppliesTheRightOperandFirst) {
    const fpMatrix4 t = fpMatrix4::translation(10, 20, 0);
    const fpMatrix4 s = fpMatrix4::scaling(2, 3, 1);
    fpMatrix4 ts;
    t.multiply(s, ts);
    float p[3];
    transform(ts, 1, 1, 0, p);
    EXPECT_EQ(p[0], 12.0f); // scaled, then moved
    EXPECT_EQ(p[1], 23.0f);

    fpMatrix4 st;
    s.multiply(t, st);
    transform(st, 1, 1, 0, p);
    EXPECT_EQ(p[0], 22.0f); // moved, then scaled
    EXPECT_EQ(p[1], 63.0f);

    // A full product against hand values: out[4c + r] = sum this[4k + r] * other[4c + k].
    fpMatrix4 a;
    fpMatrix4 b;
    for (int i = 0; i < 16; ++i) {
        a[i] = float(i + 1);
        b[i] = float(16 - i);
    }
    fpMatrix4 ab;
    a.multiply(b, ab);
    EXPECT_EQ(ab[0], 1 * 16 + 5 * 15 + 9 * 14 + 13 * 13);
    EXPECT_EQ(ab[13], 2 * 4 + 6 * 3 + 10 * 2 + 14 * 1);

    // The output may be one of the operands.
    fpMatrix4 alias = a;
    alias.multiply(b, alias);
    EXPECT_EQ(alias, ab);
    alias = b;
    a.multiply(alias, alias);
    EXPECT_EQ(alias, ab);
}

TEST(Matrix4Test, InverseUndoesTheTransform) {
    fpMatrix4 m;
    fpMatrix4::scaling(2, -4, 0.5f).multiply(fpMatrix4::translation(-7, 3, 9), m);
    // A shear and a rotation-like term so every cofactor takes part.
    m[1] = 0.25f;
    m[4] = -0.5f;
    m[3] = 0.125f;
    fpMatrix4 inverse;
    m.inverse(inverse);
    fpMatrix4 product;
    m.multiply(inverse, product);
    const fpMatrix4 identity;
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(product[i], identity[i], 1e-5f) << i;
    inverse.multiply(m, product);
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(product[i], identity[i], 1e-5f) << i;

    fpMatrix4 back;
    fpMatrix4::translation(5, -6, 7).inverse(back);
    EXPECT_EQ(back, fpMatrix4::translation(-5, 6, -7));
}

TEST(Matrix4Test, RotationXTurnsYTowardZ) {
    struct Case {
        float angle;
        float y[3];  // where (0, 1, 0) goes
        float z[3];  // where (0, 0, 1) goes
    };
    const float c = std::cos(kMapViewAngle);
    const float s = std::sin(kMapViewAngle);
    const Case cases[] = {{0.0f, {0, 1, 0}, {0, 0, 1}},
                          {kPi / 2, {0, 0, -1}, {0, 1, 0}},
                          {kPi, {0, -1, 0}, {0, 0, -1}},  // the scene camera: y and z flipped
                          {kMapViewAngle, {0, c, -s}, {0, s, c}}};
    for (const Case& k : cases) {
        const fpMatrix4 m = makeRotationXMatrix(k.angle);
        float out[3];
        transform(m, 1, 0, 0, out);
        EXPECT_EQ(out[0], 1.0f) << k.angle;
        EXPECT_EQ(out[1], 0.0f) << k.angle;
        EXPECT_EQ(out[2], 0.0f) << k.angle;
        transform(m, 0, 1, 0, out);
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(out[i], k.y[i], 1e-6f) << k.angle << " y " << i;
        transform(m, 0, 0, 1, out);
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(out[i], k.z[i], 1e-6f) << k.angle << " z " << i;
        EXPECT_EQ(m[15], 1.0f);
        EXPECT_EQ(m[12] + m[13] + m[14], 0.0f);
    }
    // The second row holds (0, c, s, 0).
    const fpMatrix4 m = makeRotationXMatrix(kMapViewAngle);
    EXPECT_EQ(m[5], c);
    EXPECT_EQ(m[9], s);
}

} // namespace
} // namespace zor
