#include "Framework/core/math/Anchor.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

TEST(AnchorTest, ParseIsExact) {
    struct Case {
        const char* text;
        CompassAnchor anchor;
    };
    const Case cases[] = {
        {"n", CompassAnchor::North},      {"ne", CompassAnchor::NorthEast}, {"e", CompassAnchor::East},
        {"se", CompassAnchor::SouthEast}, {"s", CompassAnchor::South},      {"sw", CompassAnchor::SouthWest},
        {"w", CompassAnchor::West},       {"nw", CompassAnchor::NorthWest}, {"N", CompassAnchor::Centre},
        {"", CompassAnchor::Centre},      {"c", CompassAnchor::Centre},     {"n ", CompassAnchor::Centre},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parseAnchor(c.text), c.anchor) << '"' << c.text << '"';
}

TEST(AnchorTest, BoxPlacedAtEachCompassPoint) {
    const fpRect rect(10, 20, 100, 50);
    const fpVector2 size(20, 10);
    struct Case {
        int anchor;
        fpVector2 corner;
    };
    const Case cases[] = {
        {0, {50, 40}}, {1, {50, 20}}, {2, {90, 20}}, {3, {90, 40}}, {4, {90, 60}},
        {5, {50, 60}}, {6, {10, 60}}, {7, {10, 40}}, {8, {10, 20}},
        {9, {0, 0}},   {-1, {0, 0}}, // not an anchor
    };
    for (const Case& c : cases)
        EXPECT_EQ(anchorPosition(rect, size, static_cast<CompassAnchor>(c.anchor)), c.corner) << c.anchor;
}

} // namespace
} // namespace zor
