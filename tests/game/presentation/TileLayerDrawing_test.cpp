// Tile layers on a small fixture level: orientation bits, hidden cells, the tiles outside
// a layer, fringes and resource veins, read back from the world quads.

#include "game/presentation/TileLayerDrawing.h"

#include "Framework/graphics/textureset/TextureSet.h"
#include "game/definitions/ResourceDefinition.h"
#include "game/presentation/TileLayerRecords.h"
#include "game/presentation/WorldQuads.h"
#include "game/world/level/Level.h"
#include "game/world/level/PatchLibraryTables.h"
#include "tests/Framework/graphics/batch/FakeTexture.h"

#include <gtest/gtest.h>

namespace zor::presentation {
namespace {

constexpr float ViewUnit = 0.5f;
constexpr float VirtualWidth = 640.0f;

enum Types : std::uint16_t { Empty = 0, Rock = 1, Dirt = 2, Clay = 3 };

struct UV {
    float u, v;
};

// One 64 x 64 page: rock, dirt and clay tiles of 16 x 16, dirt's fringe pieces and two veins.
struct Fixture {
    Fixture() {
        std::shared_ptr<Texture> page = test::fakeTexture(7, 64, 64);
        textures.add("rock", page, {0, 0, 16, 16});
        textures.add("dirt", page, {16, 0, 16, 16});
        textures.add("clay", page, {32, 0, 16, 16});
        textures.add("dirt_edge_n", page, {0, 16, 40, 8});
        textures.add("dirt_edge_s", page, {0, 24, 40, 8});
        textures.add("vein_a", page, {0, 32, 16, 16});
        textures.add("vein_b", page, {16, 32, 16, 16});
        auto tables = std::make_shared<PatchLibraryTables>();
        tables->tileTypes.resize(4);
        tables->tileTypes[Rock].texture = "rock";
        tables->tileTypes[Dirt].texture = "dirt";
        tables->tileTypes[Dirt].edgeTexture = "dirt_edge";
        tables->tileTypes[Dirt].flags = 0x01;  // hidden while unexplored
        tables->tileTypes[Dirt].requiredTier = 1;
        tables->tileTypes[Clay].texture = "clay";
        tables->tileSets["rocks"] = std::make_shared<TileSetDefinition>(TileSetDefinition{{Rock}});
        tables->tileSets["dirt"] = std::make_shared<TileSetDefinition>(TileSetDefinition{{Dirt}});
        tables->tileSets["clay"] = std::make_shared<TileSetDefinition>(TileSetDefinition{{Clay}});
        tables->tileSets["rock_dirt"] = std::make_shared<TileSetDefinition>(TileSetDefinition{{Rock, Dirt}});
        library = tables;
        auto vein = std::make_shared<ResourceDefinition>();
        vein->useVeinTileTexture = true;
        resources = {vein};
    }

    // A level whose main layer holds `words` (row-major, `width` wide), every cell solid.
    Level level(std::int32_t width, std::vector<std::uint16_t> words, std::uint8_t flags = 1) const {
        Level level;
        TileLayerGrid layer;
        layer.width = width;
        layer.height = std::int32_t(words.size()) / width;
        layer.tiles = std::move(words);
        level.tileMap = std::make_shared<PersistentTileMap>(layer.width, layer.height, flags);
        level.layers.push_back(std::move(layer));
        level.library = library;
        return level;
    }

    // Draws the layer of the level over the view and returns the quads.
    std::vector<Quad> draw(const Level& level, const TileLayerGrid& layer, const fpRect& view,
                           const std::vector<std::string>& veins = {}) {
        TileLayerRecords records;
        records.build(*library, textures, resources, veins, ViewUnit);
        CommonBatch batch(64, 0.0f);
        WorldQuads quads(batch, [](CommonBatch&) { FAIL() << "the fixture never fills the batch"; });
        drawTileLayer(quads, level, layer, records, {view, VirtualWidth, ViewUnit});
        return std::vector<Quad>(batch.quads(), batch.quads() + batch.count());
    }

    TextureSet textures;
    std::shared_ptr<const PatchLibraryTables> library;
    std::vector<std::shared_ptr<ResourceDefinition>> resources;
};

void expectUVs(const Quad& quad, const UV (&expected)[4], const std::string& what) {
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(quad.vertices[i].u, expected[i].u) << what << ", vertex " << i;
        EXPECT_FLOAT_EQ(quad.vertices[i].v, expected[i].v) << what << ", vertex " << i;
    }
}

// The left texture coordinate of a quad: which tile it shows (rock 0, dirt 0.25, clay 0.5).
float tileOf(const Quad& quad) {
    return std::min(std::min(quad.vertices[0].u, quad.vertices[1].u), quad.vertices[2].u);
}

TEST(TileLayerDrawing, OrientationBitsMoveTheTextureCoordinates) {
    Fixture f;
    const Level level = f.level(3, {0x0801, 0x2001, 0x3801});
    const std::vector<Quad> quads = f.draw(level, level.mainLayer(), {0, 0, 120, 40});
    ASSERT_EQ(quads.size(), 3u);  // the cells outside the layer show tile 0, which has no texture
    const UV L_T{0, 0}, L_B{0, 0.25f}, R_T{0.25f, 0}, R_B{0.25f, 0.25f};
    expectUVs(quads[0], {R_T, R_B, L_T, L_B}, "0x0801 mirrored left-right");
    expectUVs(quads[1], {L_B, R_B, L_T, R_T}, "0x2001 turned a quarter");
    expectUVs(quads[2], {R_T, L_T, R_B, L_B}, "0x3801 mirrored both ways, then turned");
    // Cell 2 spans 40 world pixels from x = 80, in view units.
    EXPECT_FLOAT_EQ(quads[2].vertices[0].x, 40.0f);
    EXPECT_FLOAT_EQ(quads[2].vertices[3].x, 60.0f);
    EXPECT_FLOAT_EQ(quads[2].vertices[3].y, 20.0f);
}

TEST(TileLayerDrawing, HiddenTypesShowTileZeroUntilRevealedOnTheMainLayerOnly) {
    Fixture f;
    struct Case {
        const char* what;
        std::uint8_t flags;
        std::uint16_t word;
        bool revealed;
        std::uint16_t shown;
    } cases[] = {
        {"solid", 1, Dirt, true, Dirt},
        {"seen, not solid", 2, Dirt, false, Empty},
        {"solid and seen", 3, Dirt, true, Dirt},
        {"unexplored, shown by its bit", 0, Dirt | 0x4000, true, Dirt | 0x4000},
        {"unexplored", 0, Dirt, false, Empty},
        {"seen, the bit does not count", 2, Dirt | 0x4000, false, Empty},
        {"a type that is not hidden", 2, Rock, false, Rock},
    };
    for (const Case& c : cases) {
        const Level level = f.level(1, {c.word}, c.flags);
        EXPECT_EQ(isCellRevealed(level, 0), c.revealed) << c.what;
        EXPECT_EQ(shownTileWord(level, 0), c.shown) << c.what;
    }
    // Drawn: nothing on the main layer; as stored on another layer.
    Level level = f.level(1, {Dirt}, 2);
    TileLayerGrid other = level.mainLayer();
    other.depth = -0.5f;
    level.fillers.foreground = "nothing";
    level.layers.push_back(other);
    EXPECT_TRUE(f.draw(level, level.mainLayer(), {0, 0, 40, 40}).empty());
    const std::vector<Quad> quads = f.draw(level, level.layers[1], {0, 0, 40, 40});
    ASSERT_FALSE(quads.empty());
    EXPECT_FLOAT_EQ(tileOf(quads.front()), 0.25f);
}

TEST(TileLayerDrawing, CellsOutsideALayerComeFromItsBorderSet) {
    Fixture f;
    // A view of the column left of the layer: row 0's linear index there is -1, which as an
    // unsigned number is 0xFFFFFFFF, odd: entry 1 of a two-entry set.
    const fpRect leftOfLayer{-40, 0, 1, 1};
    Level level = f.level(1, {Rock});
    level.fillers.borders = "rock_dirt";
    EXPECT_TRUE(f.draw(level, level.mainLayer(), leftOfLayer).empty()) << "the main layer draws no border";

    level.bordersDontClampCamera = true;
    std::vector<Quad> quads = f.draw(level, level.mainLayer(), leftOfLayer);
    ASSERT_FALSE(quads.empty());
    EXPECT_FLOAT_EQ(tileOf(quads.front()), 0.25f) << "dirt, entry 0xFFFFFFFF mod 2";

    for (const char* empty : {"", "unknown"}) {
        level.fillers.borders = empty;
        EXPECT_TRUE(f.draw(level, level.mainLayer(), leftOfLayer).empty()) << "the default list: tile 0";
    }

    // Other layers: the set by the layer's depth truncated.
    level.fillers = FillerSettings();
    level.fillers.foreground = "rocks";
    level.fillers.midground = "dirt";
    level.fillers.background = "clay";
    struct Case {
        float depth;
        float tile;
    } cases[] = {{-0.5f, 0.0f}, {0.0f, 0.0f}, {1.9f, 0.25f}, {2.0f, 0.5f}, {7.0f, 0.5f}};
    for (const Case& c : cases) {
        TileLayerGrid layer;
        layer.width = 1;
        layer.height = 1;
        layer.tiles = {Empty};
        layer.depth = c.depth;
        quads = f.draw(level, layer, leftOfLayer);
        ASSERT_FALSE(quads.empty()) << c.depth;
        for (const Quad& quad : quads) EXPECT_FLOAT_EQ(tileOf(quad), c.tile) << c.depth;
    }
}

TEST(TileLayerDrawing, EdgesGrowOnlyTowardsNeighboursInsideTheLayer) {
    Fixture f;
    // Dirt above an unexplored cell above dirt: the top cell gets "_s", the bottom one "_n";
    // the top row never gets "_n".
    const Level level = f.level(1, {Dirt, Empty, Dirt}, 1);
    level.tileMap->cell(0, 1)[0] = 0;
    const std::vector<Quad> quads = f.draw(level, level.mainLayer(), {0, 0, 40, 120});
    ASSERT_EQ(quads.size(), 4u);  // two dirt tiles, then the pieces
    const float n = 16.0f / 64.0f, s = 24.0f / 64.0f;
    EXPECT_FLOAT_EQ(quads[2].vertices[0].v, s) << "the top cell's south piece";
    EXPECT_FLOAT_EQ(quads[3].vertices[0].v, n) << "the bottom cell's north piece";
    // "_n" is 40 x 8 centred on (20, 0) of row 2: from y = 80 - 4, in view units.
    EXPECT_FLOAT_EQ(quads[3].vertices[0].y, 38.0f);
    EXPECT_FLOAT_EQ(quads[3].vertices[1].y, 42.0f);
    EXPECT_FLOAT_EQ(quads[3].vertices[2].x, 20.0f);
}

TEST(TileLayerDrawing, ResourceCellsShowTheSameVeinEveryFrame) {
    Fixture f;
    Level level = f.level(3, {Rock | 0x8000, Rock | 0x8000, Rock | 0x8000, Rock | 0x8000, Rock, Rock});
    level.cellRecords[0] = {0, 1};
    level.cellRecords[1] = {0, 1};
    level.cellRecords[2] = {0, 7};  // beyond the resource records: nothing
    level.cellRecords[3] = {0, 0};  // no resource
    const std::vector<std::string> veins = {"vein_a", "missing", "vein_b"};
    const std::vector<Quad> first = f.draw(level, level.mainLayer(), {0, 0, 120, 80}, veins);
    const std::vector<Quad> second = f.draw(level, level.mainLayer(), {0, 0, 120, 80}, veins);
    ASSERT_EQ(first.size(), 8u);  // six rock tiles and two veins
    for (std::size_t cell = 0; cell < 2; ++cell) {
        const Quad& vein = first[6 + cell];
        const float expectedU = veinHash(std::uint32_t(cell), 0) % 2 == 0 ? 0.0f : 0.25f;
        EXPECT_FLOAT_EQ(vein.vertices[0].u, expectedU) << cell;
        EXPECT_FLOAT_EQ(vein.vertices[0].x, float(cell) * 20.0f + 6.0f) << cell;
        EXPECT_EQ(second[6 + cell].vertices[0].u, vein.vertices[0].u) << cell;
    }
    EXPECT_EQ(veinHash(0, 0), 0x9E3779B9u ^ (0x9E3779B9u + (0x9E3779B9u << 6) + (0x9E3779B9u >> 2)));
}

TEST(TileLayerDrawing, VisibleCellsWidenWithDepthAndClampToTheLayer) {
    TileLayerGrid layer;
    layer.width = 10;
    layer.height = 5;
    struct Case {
        const char* what;
        float depth;
        fpRect view;
        std::int32_t margin;
        bool clamp;
        CellRect expected;
    } cases[] = {
        {"the game plane", 0, {0, 0, 120, 80}, 0, false, {0, 0, 4, 3}},
        {"a margin", 0, {40, 40, 120, 80}, 1, false, {0, 0, 6, 5}},
        {"left of the layer", 0, {-200, 0, 40, 40}, 0, false, {-5, 0, 2, 2}},
        {"clamped", 0, {-80, -80, 800, 800}, 1, true, {0, 0, 10, 5}},
        {"clamped away", 0, {-400, 0, 40, 40}, 0, true, {0, 0, 0, 2}},
        // d = 4: z = 64 * 40 / 1280 = 2, e = 3: three view widths more on each side.
        {"deep", 4, {0, 0, 40, 40}, 0, false, {-3, -3, 8, 8}},
    };
    for (const Case& c : cases) {
        layer.depth = c.depth;
        const CellRect cells = visibleCells(layer, c.view, VirtualWidth, c.margin, c.clamp);
        EXPECT_EQ(cells.column, c.expected.column) << c.what;
        EXPECT_EQ(cells.row, c.expected.row) << c.what;
        EXPECT_EQ(cells.columns, c.expected.columns) << c.what;
        EXPECT_EQ(cells.rows, c.expected.rows) << c.what;
    }
}

TEST(TileLayerDrawing, AFullBatchIsFlushedAndTheLayerGoesOn) {
    Fixture f;
    const Level level = f.level(3, {Rock, Rock, Rock});
    TileLayerRecords records;
    records.build(*f.library, f.textures, f.resources, {}, ViewUnit);
    CommonBatch batch(2, 0.0f);
    std::vector<int> flushed;
    WorldQuads quads(batch, [&](CommonBatch& full) {
        flushed.push_back(full.count());
        full.discardQuads();  // as a draw leaves it: the current texture kept
    });
    drawTileLayer(quads, level, level.mainLayer(), records, {{0, 0, 120, 40}, VirtualWidth, ViewUnit});
    EXPECT_EQ(flushed, std::vector<int>{2});
    EXPECT_EQ(batch.count(), 1);
    ASSERT_EQ(batch.runs().size(), 1u) << "the quad after the flush has a run to be drawn in";
    EXPECT_EQ(batch.droppedQuads(), 0u);
    EXPECT_FLOAT_EQ(batch.quads()[0].vertices[0].x, 40.0f);
}

} // namespace
} // namespace zor::presentation
