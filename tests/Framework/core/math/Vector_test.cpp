#include "Framework/core/math/Vector.h"

#include <gtest/gtest.h>

#include <boost/lexical_cast.hpp>
#include <sstream>
#include <string>

#include "Framework/core/math/Color.h"

namespace zor {
namespace {

TEST(VectorTest, LengthAndTheGuardedDivisions) {
    const fpVector2 v(3.0f, -4.0f);
    EXPECT_EQ(v.length(), 5.0f);
    EXPECT_EQ(v.normalized(), fpVector2(0.6f, -0.8f));
    EXPECT_EQ(v.unit(), fpVector2(0.6f, -0.8f));
    fpVector2 inPlace = v;
    inPlace.normalize();
    EXPECT_EQ(inPlace, fpVector2(0.6f, -0.8f));

    EXPECT_EQ(fpVector2().normalized(), fpVector2());
    EXPECT_EQ(fpVector2::divideByLength(0.0f, v), fpVector2());
    EXPECT_EQ(fpVector2::divideByLength(-1.0f, v), fpVector2());
    EXPECT_EQ(fpVector2::divideByLength(2.0f, v), fpVector2(1.5f, -2.0f));
}

TEST(VectorTest, ZeroTests) {
    EXPECT_TRUE(fpVector2::zero().isZero());
    EXPECT_EQ(&fpVector2::zero(), &fpVector2::zero());
    EXPECT_TRUE(fpVector2(-0.0f, 0.0f).isZero());
    EXPECT_FALSE(fpVector2(0.0f, 1e-30f).isZero());
    EXPECT_EQ(fpVector2().orIfZero({1, 2}), fpVector2(1, 2));
    EXPECT_EQ(fpVector2(0, 3).orIfZero({1, 2}), fpVector2(0, 3));
    EXPECT_TRUE(fpVector2(1, 2) != fpVector2(1, 3));
    EXPECT_FALSE(fpVector2(1, 2) != fpVector2(1, 2));
    EXPECT_TRUE(fpVector3(1, 2, 3) == fpVector3(1, 2, 3));
    EXPECT_FALSE(fpVector3(1, 2, 3) == fpVector3(1, 2, 4));
}

TEST(VectorTest, RoundedGoesHalfAwayFromZero) {
    EXPECT_EQ(fpVector2(2.5f, -2.5f).rounded(), fpVector2(3.0f, -3.0f));
    EXPECT_EQ(fpVector2(0.49f, -0.51f).rounded(), fpVector2(0.0f, -1.0f));
}

TEST(VectorTest, ProjectOnAUnitDirection) {
    struct Case {
        fpVector2 v, direction, expected;
    };
    const Case cases[] = {
        {{3, 4}, {1, 0}, {3, 0}},
        {{3, 4}, {0, -1}, {0, 4}},
        {{2, 0}, {0.6f, 0.8f}, {0.72f, 0.96f}},
        {{-1, -1}, {0, 1}, {0, -1}},
        // A longer direction still gives a unit-direction result scaled by d.v.
        {{1, 0}, {2, 0}, {2, 0}},
    };
    for (const Case& c : cases) {
        fpVector2 v = c.v;
        v.projectOn(c.direction);
        EXPECT_NEAR(v.x, c.expected.x, 1e-6f);
        EXPECT_NEAR(v.y, c.expected.y, 1e-6f);
    }
}

TEST(VectorTest, AngleLiesInZeroToTwoPi) {
    struct Case {
        fpVector2 v;
        float angle;
    };
    const Case cases[] = {
        {{1, 0}, 0.0f},
        {{0, 1}, 1.5707964f},
        {{-1, 0}, 3.1415927f},
        {{0, -1}, 6.2831855f - 1.5707964f},
        {{1, -1e-7f}, 6.2831855f - 1e-7f},
    };
    for (const Case& c : cases) {
        const float a = c.v.angle();
        EXPECT_NEAR(a, c.angle, 1e-6f);
        EXPECT_GE(a, 0.0f);
        const fpVector2 back = fpVector2::fromAngle(a);
        EXPECT_NEAR(back.x, c.v.normalized().x, 1e-6f);
        EXPECT_NEAR(back.y, c.v.normalized().y, 1e-6f);
    }
}

TEST(VectorTest, RotateTurnsTowardsPositiveY) {
    fpVector2 v(2.0f, 0.0f);
    v.rotate(1.5707964f);
    EXPECT_NEAR(v.x, 0.0f, 1e-6f);
    EXPECT_NEAR(v.y, 2.0f, 1e-6f);
    v.rotate(-3.1415927f);
    EXPECT_NEAR(v.x, 0.0f, 1e-6f);
    EXPECT_NEAR(v.y, -2.0f, 1e-6f);
}

TEST(VectorTest, NearWithinIsStrictOnBothAxes) {
    EXPECT_TRUE(nearWithin({0, 0}, {0.5f, -0.5f}, 0.75f));
    EXPECT_FALSE(nearWithin({0, 0}, {0.75f, 0}, 0.75f));
    EXPECT_FALSE(nearWithin({0, 0}, {0, -0.75f}, 0.75f));
    EXPECT_FALSE(nearWithin({0, 0}, {0, 0}, 0.0f));
}

TEST(VectorTextTest, WrittenWithSemicolonsAndSixDigits) {
    EXPECT_EQ(boost::lexical_cast<std::string>(fpVector2(1.0f, -2.5f)), "1;-2.5");
    EXPECT_EQ(boost::lexical_cast<std::string>(fpVector3(1.0f, 2.0f, 3.25f)), "1;2;3.25");
    std::ostringstream out;
    out << fpVector2(1.23456789f, 100000000.0f);
    EXPECT_EQ(out.str(), "1.23457;1e+08");
}

TEST(VectorTextTest, WholeTextConversionNeedsExactlyTheForm) {
    struct Case {
        const char* text;
        bool ok;
        fpVector2 value;
    };
    const Case cases[] = {
        {"1;2", true, {1, 2}},
        {"-1.5,2e1", true, {-1.5f, 20}}, // any one separator character
        {"3x4", true, {3, 4}},
        {"1;2;3", false, {}},  // text left over
        {"1; 2", false, {}},   // no white space skipped in a whole-text conversion
        {" 1;2", false, {}},
        {"1;", false, {}},
        {"1", false, {}},
        {"", false, {}},
        {"a;b", false, {}},
    };
    for (const Case& c : cases) {
        fpVector2 v;
        const bool ok = boost::conversion::try_lexical_convert(std::string(c.text), v);
        EXPECT_EQ(ok, c.ok) << c.text;
        if (ok && c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }
}

TEST(VectorTextTest, StreamReadingSkipsWhiteSpaceBeforeNumbers) {
    std::istringstream in("1;2;3");
    fpVector2 v;
    ASSERT_TRUE(in >> v);
    EXPECT_EQ(v, fpVector2(1, 2));
    std::string rest;
    in >> rest;
    EXPECT_EQ(rest, ";3");

    struct Case {
        const char* text;
        bool ok;
        fpVector2 value;
    };
    const Case cases[] = {
        {"  7; -8", true, {7, -8}},
        {"7 -8", true, {7, -8}},   // the blank is the separator
        {"7 ;8", false, {}},       // the blank is the separator, ";8" is no number
        {"7;;8", false, {}},
    };
    for (const Case& c : cases) {
        std::istringstream stream(c.text);
        fpVector2 read;
        EXPECT_EQ(bool(stream >> read), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(read, c.value) << c.text;
        }
    }
}

TEST(VectorTextTest, ThreeComponentsIntegersAndColours) {
    fpVector3 v3;
    ASSERT_TRUE(boost::conversion::try_lexical_convert(std::string("1;-2;3.5"), v3));
    EXPECT_EQ(v3, fpVector3(1, -2, 3.5f));
    EXPECT_FALSE(boost::conversion::try_lexical_convert(std::string("1;2"), v3));
    EXPECT_EQ(boost::lexical_cast<fpVector3>(boost::lexical_cast<std::string>(fpVector3(0.1f, 2e-5f, -7))),
              fpVector3(0.1f, 2e-5f, -7));

    iVector2 iv;
    ASSERT_TRUE(boost::conversion::try_lexical_convert(std::string("12;-4"), iv));
    EXPECT_EQ(iv, iVector2(12, -4));
    EXPECT_FALSE(boost::conversion::try_lexical_convert(std::string("1.5;2"), iv));

    Color3 c;
    ASSERT_TRUE(boost::conversion::try_lexical_convert(std::string("0.5,1,0.25"), c));
    EXPECT_EQ(c, Color3(0.5f, 1.0f, 0.25f));
    EXPECT_FALSE(boost::conversion::try_lexical_convert(std::string("0.5;1"), c));
    std::istringstream in(" 1; 0.5; 0");
    ASSERT_TRUE(in >> c);
    EXPECT_EQ(c, Color3(1.0f, 0.5f, 0.0f));
}

} // namespace
} // namespace zor
