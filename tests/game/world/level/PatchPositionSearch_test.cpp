// Finding room for a patch copy, and how many copies a slice tries.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Framework/core/math/Randomizer.h"
#include "game/world/level/FreeRunGrid.h"
#include "game/world/level/LevelBuilder.h"
#include "game/world/level/PatchPositionSearch.h"
#include "game/world/level/TileType.h"
#include "tests/support/common/RecordingRandomizer.h"

namespace zor {
namespace {

using Patch = PatchSet::Patch;

Patch patchOf(std::int32_t width, std::int32_t height, std::int32_t step = 1) {
    Patch patch;
    patch.width = width;
    patch.height = height;
    patch.step = step;
    return patch;
}

TileLayerGrid layerOf(std::int32_t width, std::int32_t height, std::uint16_t word) {
    TileLayerGrid layer;
    layer.width = width;
    layer.height = height;
    layer.tiles.assign(std::size_t(width) * std::size_t(height), word);
    return layer;
}

struct SearchFixture {
    explicit SearchFixture(iRect inner, iRect slice = iRect()) : innerRect(inner), sliceRect(slice) {
        if (slice.w == 0) sliceRect = inner;
        grid.reset(inner.w, inner.h, 0);
        layer = layerOf(sliceRect.x + sliceRect.w + 4, sliceRect.y + sliceRect.h + 4, 0);
    }

    std::optional<iVector2> find(iVector2 size, const Patch& patch, IRandomizer& random) {
        return search.find(PlacementArea{grid, layer, sliceRect, innerRect}, size, patch, random);
    }

    iRect innerRect;
    iRect sliceRect;
    FreeRunGrid grid;
    TileLayerGrid layer;
    PatchPositionSearch search;
};

TEST(PatchPositionSearchTest, AFailedFootprintFailsLargerOnesAtOnce) {
    SearchFixture fixture(iRect(0, 0, 8, 8));
    fixture.grid.markOccupied(0, 4, 8, 4);  // leaves 8 x 4 free
    RandomizerAdapter<Randomizer> inner(5, 6);
    test::RecordingRandomizer random(inner);
    const Patch patch = patchOf(5, 5);
    EXPECT_FALSE(fixture.find({5, 5}, patch, random));
    EXPECT_EQ(fixture.search.failedSizes.of(1), (std::vector<iVector2>{{5, 5}}));

    random.log.clear();
    EXPECT_FALSE(fixture.find({6, 5}, patchOf(6, 5), random));
    EXPECT_TRUE(random.log.empty());  // no draws at all

    // Not larger in both directions: searched, and found in the free rows.
    const std::optional<iVector2> found = fixture.find({6, 3}, patchOf(6, 3), random);
    ASSERT_TRUE(found);
    EXPECT_LE(found->y + 3, 4);
    EXPECT_FALSE(random.log.empty());

    // A smaller failure replaces the larger ones it covers; other steps keep their own.
    EXPECT_FALSE(fixture.find({4, 6}, patchOf(4, 6), random));
    fixture.search.failedSizes.record(1, 4, 5);
    EXPECT_EQ(fixture.search.failedSizes.of(1), (std::vector<iVector2>{{4, 5}}));
    EXPECT_TRUE(fixture.search.failedSizes.of(2).empty());
    EXPECT_FALSE(fixture.search.failedSizes.covers(2, 9, 9));
}

TEST(PatchPositionSearchTest, OneFixedCoordinateSearchesOnlyItsLineAndRemembersNothing) {
    SearchFixture fixture(iRect(2, 0, 10, 6), iRect(0, 0, 14, 6));
    RandomizerAdapter<Randomizer> random(7, 8);
    Patch column = patchOf(2, 2);
    column.fixedX = 5;  // slice column 5 is inner column 3
    for (int i = 0; i < 3; ++i) {  // the column holds three copies
        const std::optional<iVector2> found = fixture.find({2, 2}, column, random);
        ASSERT_TRUE(found);
        EXPECT_EQ(found->x, 3);
        fixture.grid.markOccupied(found->x, found->y, 2, 2);
    }
    EXPECT_FALSE(fixture.find({2, 2}, column, random));
    EXPECT_TRUE(fixture.search.failedSizes.of(1).empty());

    Patch row = patchOf(3, 1);
    row.fixedY = 4;
    const std::optional<iVector2> found = fixture.find({3, 1}, row, random);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->y, 4);
}

TEST(PatchPositionSearchTest, CarvedOnlyPatchesLandOnCarvedCellsWithRandomTriesAlone) {
    SearchFixture fixture(iRect(0, 0, 12, 8));
    for (std::int32_t y = 5; y < 8; ++y)
        for (std::int32_t x = 8; x < 12; ++x) fixture.layer.at(x, y) = TileWord::Carved;
    Patch patch = patchOf(2, 2);
    patch.onCarvedOnly = true;
    Randomizer base = Randomizer::fromSeed(99);
    RandomizerAdapter<Randomizer> inner(base.w(), base.z());
    int found = 0;
    for (int i = 0; i < 50; ++i) {
        test::RecordingRandomizer random(inner);
        const std::optional<iVector2> position = fixture.find({2, 2}, patch, random);
        // tries = trunc(2 * 11 * (2 + 7 - 1) / 2) = 88 draws below 77 at most, no scan
        for (const std::string& draw : random.log) ASSERT_EQ(draw, "nextIntBelow(77)");
        ASSERT_LE(random.log.size(), 88u);
        if (!position) {
            EXPECT_EQ(random.log.size(), 88u);
            continue;
        }
        ++found;
        EXPECT_GE(position->x, 8);
        EXPECT_GE(position->y, 5);
        EXPECT_LE(position->y, 6);
    }
    EXPECT_GT(found, 25);
    EXPECT_TRUE(fixture.search.failedSizes.of(1).empty());

    // Nothing carved: every try fails and nothing is remembered.
    SearchFixture plain(iRect(0, 0, 12, 8));
    RandomizerAdapter<Randomizer> random(1, 1);
    EXPECT_FALSE(plain.find({2, 2}, patch, random));
    EXPECT_TRUE(plain.search.failedSizes.of(1).empty());
}

TEST(PatchPositionSearchTest, StepTwoPatchesFallOnEvenLevelCells) {
    for (std::int32_t innerX : {0, 1, 3}) {
        // Rows align to the inner rectangle in the exhaustive scan, so it starts on an even row.
        SearchFixture fixture(iRect(innerX, 2, 15, 11), iRect(0, 0, innerX + 16, 13));
        Randomizer base = Randomizer::fromSeed(std::uint32_t(innerX + 10));
        RandomizerAdapter<Randomizer> random(base.w(), base.z());
        const Patch patch = patchOf(2, 2, 2);
        for (int i = 0; i < 12; ++i) {
            const std::optional<iVector2> found = fixture.find({2, 2}, patch, random);
            if (!found) break;
            EXPECT_EQ((innerX + found->x) % 2, 0) << "inner x " << innerX;
            EXPECT_EQ((2 + found->y) % 2, 0) << "inner x " << innerX;
            fixture.grid.markOccupied(found->x, found->y, 2, 2);
        }
    }
}

TEST(PatchPositionSearchTest, FootprintsWithoutHeightTakeNoRandomTries) {
    SearchFixture fixture(iRect(0, 0, 6, 4));
    RandomizerAdapter<Randomizer> inner(3, 4);
    test::RecordingRandomizer random(inner);
    fixture.find({3, 0}, patchOf(3, 0), random);
    for (const std::string& draw : random.log) EXPECT_NE(draw.rfind("nextIntBelow(", 0), std::string::npos);
    EXPECT_LE(random.log.size(), 1u);  // at most the pick among the scanned cells

    Patch carved = patchOf(3, 0);
    carved.onCarvedOnly = true;
    random.log.clear();
    EXPECT_FALSE(fixture.find({3, 0}, carved, random));
    EXPECT_TRUE(random.log.empty());
}

TEST(PatchPositionSearchTest, FootprintsLargerThanTheAreaFindNothing) {
    SearchFixture fixture(iRect(0, 0, 4, 3));
    RandomizerAdapter<Randomizer> random(3, 4);
    for (iVector2 size : {iVector2(5, 1), iVector2(1, 4), iVector2(9, 9)})
        EXPECT_FALSE(fixture.find(size, patchOf(size.x, size.y), random)) << size.x << "x" << size.y;
}

TEST(CandidateCopiesTest, ByWeightCountAndUses) {
    struct Case {
        const char* what;
        float weight;
        std::int32_t count, maxUses, uses, fixedX;
        std::int32_t copies;
    };
    // A 4 x 4 footprint (3 x 3 patch and spacing 1) in an inner area of 64.
    const Case cases[] = {
        {"by weight", 1.0f, 0, 0, 0, -1, 4},
        {"by count and weight", 1.0f, 2, 0, 0, -1, 2},
        {"by count alone", 0.0f, 7, 0, 0, -1, 7},
        {"uses left", 1.0f, 0, 3, 2, -1, 1},
        {"neither count nor weight", 0.0f, 0, 0, 0, -1, 0},
        {"at least one", 0.01f, 0, 0, 0, -1, 1},
        {"fixed", 5.0f, 0, 0, 0, 3, 1},
        {"negative weight", -1.0f, 0, 0, 0, -1, 0},
    };
    for (const Case& c : cases) {
        Patch patch = patchOf(3, 3);
        patch.weight = c.weight;
        patch.count = c.count;
        patch.maxUses = c.maxUses;
        patch.fixedX = c.fixedX;
        EXPECT_EQ(candidateCopies(patch, 64.0f, 1, c.uses), c.copies) << c.what;
    }

    // An empty footprint divides by zero: the copies stay bounded.
    Patch empty = patchOf(3, 3);
    empty.margin = -4;
    empty.count = 0;
    EXPECT_EQ(candidateCopies(empty, 64.0f, 1, 0), 1 << 20);
}

} // namespace
} // namespace zor
