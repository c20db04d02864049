#include "Framework/core/math/Rect.h"

#include <gtest/gtest.h>

#include <boost/lexical_cast.hpp>
#include <sstream>
#include <string>

namespace zor {
namespace {

TEST(RectTest, ContainsIsHalfOpen) {
    const fpRect r(10, 20, 30, 40);
    struct Case {
        fpVector2 p;
        bool inside;
    };
    const Case cases[] = {
        {{10, 20}, true},      // top-left corner
        {{25, 40}, true},
        {{39.99f, 59.99f}, true},
        {{40, 30}, false},     // right edge
        {{20, 60}, false},     // bottom edge
        {{9.99f, 30}, false},
        {{20, 19.99f}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(r.contains(c.p), c.inside) << c.p.x << "," << c.p.y;
    EXPECT_FALSE(fpRect(5, 5, 0, 0).contains({5, 5}));
}

TEST(RectTest, UniteTakesTheOuterEdges) {
    struct Case {
        fpRect a, b, expected;
    };
    const Case cases[] = {
        {{0, 0, 10, 10}, {5, 5, 10, 10}, {0, 0, 15, 15}},
        {{-10, -10, 5, 5}, {0, 0, 1, 1}, {-10, -10, 11, 11}},
        {{0, 0, 10, 10}, {20, 5, 0, 0}, {0, 0, 20, 10}}, // a zero-sized rectangle adds its corner
        {{5, 5, 0, 0}, {0, 0, 1, 1}, {0, 0, 5, 5}},
        {{0, 0, 10, 10}, {2, 2, 3, 3}, {0, 0, 10, 10}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fpRect::united(c.a, c.b), c.expected);
        EXPECT_EQ(fpRect::united(c.b, c.a), c.expected);
        fpRect inPlace = c.a;
        inPlace.unite(c.b);
        EXPECT_EQ(inPlace, c.expected);
    }
}

TEST(RectTest, IntersectNeedsAPositiveArea) {
    struct Case {
        fpRect a, b;
        bool overlaps;
        fpRect expected;
    };
    const Case cases[] = {
        {{0, 0, 10, 10}, {5, 5, 10, 10}, true, {5, 5, 5, 5}},
        {{0, 0, 10, 10}, {2, 3, 4, 5}, true, {2, 3, 4, 5}},
        {{0, 0, 10, 10}, {-5, 2, 30, 1}, true, {0, 2, 10, 1}},
        {{0, 0, 10, 10}, {10, 0, 5, 5}, false, {}},  // touching along an edge
        {{0, 0, 10, 10}, {10, 10, 5, 5}, false, {}}, // touching at a corner
        {{0, 0, 10, 10}, {50, 50, 5, 5}, false, {}},
        {{0, 0, 10, 10}, {3, 3, 0, 4}, false, {}},   // zero width
    };
    for (const Case& c : cases) {
        fpRect r = c.a;
        EXPECT_EQ(r.intersect(c.b), c.overlaps);
        EXPECT_EQ(r, c.expected);
    }
}

TEST(RectTest, FromPointsOrdersTheCorners) {
    EXPECT_EQ(fpRect::fromPoints({5, 1}, {2, 7}), fpRect(2, 1, 3, 6));
    EXPECT_EQ(fpRect::fromPoints({2, 7}, {5, 1}), fpRect(2, 1, 3, 6));
    EXPECT_EQ(fpRect::fromPoints({-1, -1}, {-1, -1}), fpRect(-1, -1, 0, 0));
    EXPECT_EQ(iRect::fromPoints({5, -1}, {-2, 7}), iRect(-2, -1, 7, 8));
}

TEST(RectTest, ExpandToAspectGrowsAroundTheCentre) {
    struct Case {
        fpRect r;
        float aspect;
        fpRect expected;
    };
    const Case cases[] = {
        {{0, 0, 100, 50}, 1.0f, {0, -25, 100, 100}},  // too wide: grows in height
        {{0, 0, 100, 50}, 4.0f, {-50, 0, 200, 50}},   // too tall: grows in width
        {{10, 10, 40, 20}, 2.0f, {10, 10, 40, 20}},   // already at the aspect
        {{0, 0, 0, 50}, 2.0f, {0, 0, 0, 50}},         // a zero side stays
        {{0, 0, 50, 0}, 2.0f, {0, 0, 50, 0}},
    };
    for (const Case& c : cases) {
        fpRect r = c.r;
        r.expandToAspect(c.aspect);
        EXPECT_EQ(r, c.expected);
    }
}

TEST(RectTextTest, WrittenAndRead) {
    EXPECT_EQ(boost::lexical_cast<std::string>(fpRect(1.5f, 2, 640, -4)), "1.5;2;640;-4");
    EXPECT_EQ(boost::lexical_cast<fpRect>("0;0;640;360"), fpRect(0, 0, 640, 360));

    struct Case {
        const char* text;
        bool ok;
    };
    const Case cases[] = {{"1,2 3|4", true}, {"1;2;3", false}, {"1;2;3;4;", false}, {"1;2; 3;4", false}};
    for (const Case& c : cases) {
        fpRect r;
        EXPECT_EQ(boost::conversion::try_lexical_convert(std::string(c.text), r), c.ok) << c.text;
    }

    std::istringstream in(" 1; 2;\t3; 4 rest");
    fpRect r;
    ASSERT_TRUE(in >> r);
    EXPECT_EQ(r, fpRect(1, 2, 3, 4));
}

} // namespace
} // namespace zor
