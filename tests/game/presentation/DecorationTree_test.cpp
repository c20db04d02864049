// The decoration tree and the painter's order of the draw list.

#include "game/presentation/DecorationTree.h"

#include "Framework/graphics/sprite/ISpriteManager.h"
#include "Framework/graphics/sprite/Sprite.h"
#include "Framework/graphics/sprite/SpriteDefinition.h"
#include "game/world/level/Level.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace zor::presentation {
namespace {

Decal decalAt(const fpRect& bounds, std::int32_t priority = 0) {
    Decal decal;
    decal.bounds = bounds;
    decal.priority = priority;
    return decal;
}

TEST(DecorationTree, CollectsTheNodesUnderTheViewAndOnlyDecalsInIt) {
    // 1600 x 800 split down to nodes of at least 200: (0, 0, 200, 200) and (200, 0, 200, 200)
    // are the smallest nodes on the left.
    DecorationTree tree({0, 0, 1600, 800}, 200);
    const Decal inView = decalAt({100, 100, 50, 50});
    const Decal atTheViewsEdge = decalAt({240, 20, 20, 20});
    const Decal besideView = decalAt({260, 100, 30, 30});  // in the same node, outside the view
    const Decal farAway = decalAt({1400, 600, 50, 50});
    const Decal acrossTheMiddle = decalAt({780, 100, 40, 40});  // fits no half: stays in the root
    Sprite besideSprite;
    tree.insert(DrawEntry::decal(0, 0, acrossTheMiddle), acrossTheMiddle.bounds);
    tree.insert(DrawEntry::decal(0, 0, inView), inView.bounds);
    tree.insert(DrawEntry::decal(0, 0, atTheViewsEdge), atTheViewsEdge.bounds);
    tree.insert(DrawEntry::decal(0, 0, besideView), besideView.bounds);
    tree.insert(DrawEntry::decal(0, 0, farAway), farAway.bounds);
    tree.insert(DrawEntry::sprite(0, 0, besideSprite), {270, 180, 20, 20});

    std::vector<DrawEntry> list(2);  // already holds the tile layers
    tree.collect({0, 0, 250, 250}, list);
    ASSERT_EQ(list.size(), 5u);
    const void* expected[] = {&inView, &atTheViewsEdge, &besideSprite};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(list[2 + i].object, expected[i]) << i;
        EXPECT_EQ(list[2 + i].order, 2 + i) << "orders continue the list";
    }

    list.clear();
    tree.collect({700, 0, 200, 200}, list);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].object, &acrossTheMiddle);
}

TEST(DecorationTree, ItemsLargerThanTheSmallestNodeStayHigh) {
    DecorationTree tree({0, 0, 800, 800}, 400);
    const Decal large = decalAt({10, 10, 500, 100});  // in the top half, across its halves
    const Decal small = decalAt({10, 10, 10, 10});    // in the top-left quarter
    tree.insert(DrawEntry::decal(0, 0, large), large.bounds);
    tree.insert(DrawEntry::decal(0, 0, small), small.bounds);
    std::vector<DrawEntry> list;
    // A view over the top-right quarter meets the large decal's node, not the small one's.
    tree.collect({450, 50, 100, 10}, list);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].object, &large);
    list.clear();
    tree.collect({0, 0, 800, 800}, list);
    EXPECT_EQ(list.size(), 2u);
}

// A sheet for sprites made without a set: the order only asks a sprite for its sheet.
class FakeSheet final : public ISpriteManager {
public:
    SpritePtr createSprite(const std::string&) override { return nullptr; }
    float framesPerSecond() const override { return 30.0f; }
    bool findTexture(const std::string&, TextureSetReference&) const override { return false; }
};

TEST(DrawOrder, DepthPriorityKindSheetAndInsertionInTurn) {
    TileLayerGrid layer;
    const Decal decal;
    Sprite sprite;
    const DrawEntry layerEntry = DrawEntry::layer(0, layer);
    const DrawEntry decalEntry = DrawEntry::decal(0, -1000, decal);
    const DrawEntry beamEntry{DrawEntry::BeamKind, 0.0f, 7, 0, nullptr};
    struct Case {
        const char* what;
        DrawEntry first;
        DrawEntry second;
    } cases[] = {
        {"farther first", DrawEntry::sprite(2, 5000, sprite), DrawEntry::layer(1, layer)},
        {"lower priority first", DrawEntry::sprite(0, -5, sprite), DrawEntry::decal(0, 0, decal)},
        {"a layer before a sprite above -1000", layerEntry, DrawEntry::sprite(0, -999, sprite)},
        {"a sprite below -1000 before a layer", DrawEntry::sprite(0, -1001, sprite), layerEntry},
        {"at equal priority, layer before decal", layerEntry, decalEntry},
        {"decal before sprite", decalEntry, DrawEntry::sprite(0, -1000, sprite)},
        {"sprite before beam", DrawEntry::sprite(0, 7, sprite), beamEntry},
        {"a beam's end sprite after its beam", beamEntry, DrawEntry::sprite(0, 8, sprite)},
        {"a beam of a higher priority after the end sprite", DrawEntry::sprite(0, 8, sprite),
         DrawEntry{DrawEntry::BeamKind, 0.0f, 9, 0, nullptr}},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(drawOrderLess(c.first, c.second)) << c.what;
        EXPECT_FALSE(drawOrderLess(c.second, c.first)) << c.what;
    }
}

TEST(DrawOrder, SpritesOfOneSheetStayTogetherInInsertionOrder) {
    FakeSheet sheetA, sheetB;
    const SpriteDefinition definition;
    Sprite sprites[5];
    ISpriteManager* sheets[5] = {&sheetA, &sheetB, &sheetA, &sheetB, &sheetA};
    std::vector<DrawEntry> list;
    for (int i = 0; i < 5; ++i) {
        sprites[i].initFromDefinition(definition, *sheets[i]);
        list.push_back(DrawEntry::sprite(0.5f, 100, sprites[i]));
        list.back().order = std::uint32_t(i);
    }
    std::stable_sort(list.begin(), list.end(), drawOrderLess);
    std::vector<int> drawn;
    for (const DrawEntry& entry : list) drawn.push_back(int(&entry.asSprite() - sprites));
    const std::vector<int> aFirst = {0, 2, 4, 1, 3}, bFirst = {1, 3, 0, 2, 4};
    EXPECT_TRUE(drawn == aFirst || drawn == bFirst) << ::testing::PrintToString(drawn);
}

} // namespace
} // namespace zor::presentation
