// The patch-set section: patches with their layers, resource grids and object records.

#include <string>

#include <gtest/gtest.h>

#include "Framework/core/Errors.h"
#include "game/world/level/PatchLibraryTables.h"
#include "tests/support/world/PatchLibraryFixtures.h"
#include "tools/patch_compiler/compiler/PatchLibraryWriter.h"

namespace zor {
namespace {

using Patch = PatchSet::Patch;

std::shared_ptr<PatchSet::TileLayer> layer(std::int32_t scale, std::vector<std::uint16_t> tiles, std::int32_t value = 0) {
    auto result = std::make_shared<PatchSet::TileLayer>();
    result->scale = scale;
    result->value = value;
    result->tiles = std::move(tiles);
    return result;
}

Patch patchOf(const std::string& name, std::int32_t width, std::int32_t height) {
    Patch patch;
    patch.name = name;
    patch.width = width;
    patch.height = height;
    patch.tileLayers.push_back(layer(1, std::vector<std::uint16_t>(static_cast<std::size_t>(width * height), 1)));
    return patch;
}

LibraryFile libraryWith(std::vector<LibraryFile::PatchSetRecord> sets) {
    LibraryFile file;
    file.tileTypes.resize(4);
    file.patchSets = std::move(sets);
    return file;
}

std::shared_ptr<PatchLibraryTables> read(const LibraryFile& file, std::size_t resourceCount = 3) {
    return test::readLibrary(writePatchLibrary(file), resourceCount);
}

std::string failureOf(const LibraryFile& file, std::size_t resourceCount = 3) {
    try {
        read(file, resourceCount);
    } catch (const CheckReleaseError& error) {
        return error.what();
    }
    return "no error";
}

TEST(PatchSetSection, SetsAreFoundByNameAndTheLaterOfANameWins) {
    EXPECT_TRUE(read(libraryWith({}))->patchSets.empty());
    EXPECT_EQ(read(libraryWith({}))->findPatchSet("rooms"), nullptr);

    const auto tables =
        read(libraryWith({{"rooms", {patchOf("first", 2, 2)}}, {"rooms", {patchOf("second", 3, 1), patchOf("third", 1, 1)}}}));
    const std::shared_ptr<const PatchSet> rooms = tables->findPatchSet("rooms");
    ASSERT_NE(rooms, nullptr);
    ASSERT_EQ(rooms->patches.size(), 2u);
    EXPECT_EQ(rooms->patches[0]->name, "second");
    EXPECT_EQ(rooms->patches[1]->name, "third");
    EXPECT_EQ(rooms->patches[0]->owner, rooms.get());
    EXPECT_EQ(tables->findPatchSet("hall"), nullptr);
}

TEST(PatchSetSection, PatchFieldsAndLayers) {
    Patch patch = patchOf("vault", 4, 2);
    patch.deckName = "dens";
    patch.count = 0;
    patch.maxUses = 3;
    patch.priority = 7;
    patch.margin = -2;
    patch.weight = 0.25f;
    patch.fixedX = 5;
    patch.fixedY = -1;
    patch.onCarvedOnly = true;
    patch.tileLayers = {nullptr, layer(1, {1, 0xFFFF, 2, 3, 0x4801, 0x2002, 0, 1}, 9), layer(2, {3, 0x1003})};
    const auto tables = read(libraryWith({{"rooms", {patch}}}));
    const Patch& read = *tables->findPatchSet("rooms")->patches[0];
    EXPECT_EQ(read.deckName, "dens");
    EXPECT_EQ(read.width, 4);
    EXPECT_EQ(read.height, 2);
    EXPECT_EQ(read.count, 0);
    EXPECT_EQ(read.maxUses, 3);
    EXPECT_EQ(read.priority, 7);
    EXPECT_EQ(read.margin, -2);
    EXPECT_EQ(read.weight, 0.25f);
    EXPECT_EQ(read.fixedCoordinates(), 1);  // fixedX 5, fixedY -1
    EXPECT_TRUE(read.onCarvedOnly);
    EXPECT_FALSE(read.onUnpaintedOnly);
    EXPECT_EQ(read.resourceGrid, nullptr);
    ASSERT_EQ(read.tileLayers.size(), 3u);
    EXPECT_FALSE(read.hasTileLayer(0));
    ASSERT_TRUE(read.hasTileLayer(1));
    EXPECT_EQ(read.tileLayers[1]->value, 9);
    EXPECT_EQ(read.tileLayers[1]->tiles, (std::vector<std::uint16_t>{1, 0xFFFF, 2, 3, 0x4801, 0x2002, 0, 1}));
    EXPECT_EQ(read.tileLayers[2]->scale, 2);
    EXPECT_EQ(read.tileLayers[2]->tiles, (std::vector<std::uint16_t>{3, 0x1003}));  // (2 / 2) x (4 / 2)
    EXPECT_EQ(read.step, 2);
}

TEST(PatchSetSection, TheStepCombinesTheLayerScales) {
    const struct {
        std::vector<std::int32_t> scales;
        std::int32_t step;
    } cases[] = {
        {{1}, 1}, {{1, 2}, 2}, {{2, 1}, 2}, {{2, 2}, 2}, {{2, 3}, 6}, {{4, 6}, 24}, {{2, 4}, 4}, {{4, 2}, 4},
        {{3, 1, 3}, 3},
    };
    for (const auto& c : cases) {
        Patch patch = patchOf("p", 24, 24);
        patch.tileLayers.clear();
        for (std::int32_t scale : c.scales)
            patch.tileLayers.push_back(layer(scale, std::vector<std::uint16_t>(static_cast<std::size_t>((24 / scale) * (24 / scale)))));
        const auto tables = read(libraryWith({{"s", {patch}}}));
        EXPECT_EQ(tables->findPatchSet("s")->patches[0]->step, c.step) << ::testing::PrintToString(c.scales);
    }
    EXPECT_EQ(combineStep(2, 3), 6);
    EXPECT_EQ(combineStep(4, 6), 24);

    // Scales whose step does not fit 32 bits: the library is refused, not overflowed.
    Patch patch = patchOf("primes", 1, 1);
    for (std::int32_t scale : {2, 3, 5, 7, 11, 13, 17, 19, 23, 29}) patch.tileLayers.push_back(layer(scale, {}));
    EXPECT_EQ(failureOf(libraryWith({{"s", {patch}}})),
              "Could not read patchsets.bin: the scales of its tile layers combine to a step beyond 32 bits "
              "(patch-set section, patch set 's', patch 'primes')");
}

TEST(PatchSetSection, ResourceGrids) {
    Patch patch = patchOf("pocket", 3, 2);
    patch.resourceGrid = std::make_shared<PatchSet::ResourceLayer>();
    patch.resourceGrid->cells = {0, 1, 0, 3, 0, 2};
    const auto tables = read(libraryWith({{"s", {patch}}}));
    const Patch& read = *tables->findPatchSet("s")->patches[0];
    ASSERT_NE(read.resourceGrid, nullptr);
    EXPECT_EQ(read.resourceGrid->cells, (std::vector<std::uint16_t>{0, 1, 0, 3, 0, 2}));

    EXPECT_EQ(failureOf(libraryWith({{"s", {patch}}}), 2),
              "Could not read patchsets.bin: resource 3 is beyond the resource registry (2 resources) "
              "(patch-set section, patch set 's', patch 'pocket')");
}

TEST(PatchSetSection, TileIndicesBeyondTheTileTypesAreRefused) {
    Patch patch = patchOf("hall", 2, 1);
    patch.tileLayers.push_back(layer(1, {0xFFFF, 0x0804}));
    EXPECT_EQ(failureOf(libraryWith({{"rooms", {patch}}})),
              "Could not read patchsets.bin: tile index 4 is beyond the tile-type table (4 types) "
              "(patch-set section, patch set 'rooms', patch 'hall')");
}

// The cells of a 65535 x 65535 patch would take 8 GiB: a file that does not hold them is
// refused before anything is allocated.
TEST(PatchSetSection, HugeGridsWithoutTheirBytesAreRefused) {
    Patch patch = patchOf("huge", 1, 1);
    patch.resourceGrid = std::make_shared<PatchSet::ResourceLayer>();
    patch.resourceGrid->cells = {1};
    std::string bytes = writePatchLibrary(libraryWith({{"s", {patch}}}));
    // Tile types and their count, the counts of tile sets and patch sets, the set's name and
    // patch count, the patch's name and deck: then width and height.
    const std::size_t size = test::sectionsStart(bytes) + 2 + 4 * 13 + 2 + 2 + 2 + 2 + 2 + 2;
    ASSERT_EQ(bytes.substr(size, 4), std::string("\x01\x00\x01\x00", 4));
    bytes.replace(size, 4, std::string("\xFF\xFF\xFF\xFF", 4));
    try {
        test::readLibrary(bytes);
        ADD_FAILURE() << "no error";
    } catch (const CheckReleaseError& error) {
        EXPECT_EQ(std::string(error.what()), "Could not read patchsets.bin: the file ends inside its sections "
                                              "(patch-set section, patch set 's', patch 'huge')");
    }
}

TEST(PatchSetSection, ObjectRecords) {
    Patch patch = patchOf("room", 2, 2);
    PatchTransformObject decal;
    decal.name = "Textures/decals/sign.png";
    decal.id = 4;
    decal.transform = fpMatrix4::translation(80.0f, 120.0f, 0.5f);
    patch.transformObjects.push_back(decal);
    patch.pointObjects.push_back({"Sprites/town;lamp", 5, 10.0f, 20.0f, 0.5f, 2.0f, -1.0f, 0.75f, 0xDEADBEEF});
    patch.markers = {{"[start]", 40.0f, 80.0f, true}, {"[cave]", 1.5f, 2.5f, false}};
    patch.exits.push_back({"to_town", 12.0f, 80.0f, 40.0f, "town", "[start]", "drill_1", "enteredTown", true});
    PatchEntity entity;
    entity.id = 6;
    entity.definitionName = "mire_crawler";
    entity.name = "first";
    entity.settle = true;
    entity.x = 160.0f;
    entity.y = 200.0f;
    entity.facingX = -1.0f;
    entity.facingY = 1.0f;
    entity.angle = 1.5f;
    patch.entities.push_back(entity);
    // Points before rectangles here; the file holds the rectangles first.
    PatchTypedObject point;
    point.name = "spot";
    point.id = 7;
    point.x = 3.0f;
    point.y = 4.0f;
    PatchTypedObject rectangle;
    rectangle.name = "area";
    rectangle.id = 8;
    rectangle.kind = PatchTypedObject::Rectangle;
    rectangle.x = 1.0f;
    rectangle.y = 2.0f;
    rectangle.width = 30.0f;
    rectangle.height = 40.0f;
    patch.typedObjects = {point, rectangle};
    PatchGraphNode node;
    node.id = 10;
    node.name = "trigger";
    node.typeName = "LevelStarted";
    node.x = 0.0f;
    node.y = 1.0f;
    node.width = 120.0f;
    node.height = 40.0f;
    node.properties = {{"Once", true}, {"Never", false}, {"Message", std::string("welcome")}};
    node.links = {{"out0", "", 11, 0}, {"bind", "target", 6, 0}};
    patch.graphNodes.push_back(node);

    const auto tables = read(libraryWith({{"s", {patch}}}));
    const Patch& read = *tables->findPatchSet("s")->patches[0];
    ASSERT_EQ(read.transformObjects.size(), 1u);
    EXPECT_EQ(read.transformObjects[0].name, decal.name);
    EXPECT_EQ(read.transformObjects[0].id, 4u);
    EXPECT_EQ(read.transformObjects[0].transform, decal.transform);
    ASSERT_EQ(read.pointObjects.size(), 1u);
    const PatchPointObject& sprite = read.pointObjects[0];
    EXPECT_EQ(sprite.name, "Sprites/town;lamp");
    EXPECT_EQ(sprite.id, 5u);
    EXPECT_EQ((std::vector<float>{sprite.x, sprite.y, sprite.depth, sprite.scaleX, sprite.scaleY, sprite.angle}),
              (std::vector<float>{10.0f, 20.0f, 0.5f, 2.0f, -1.0f, 0.75f}));
    EXPECT_EQ(sprite.value, 0xDEADBEEFu);
    ASSERT_EQ(read.markers.size(), 2u);
    EXPECT_EQ(read.markers[1].name, "[cave]");
    EXPECT_EQ(read.markers[1].x, 1.5f);
    EXPECT_EQ(read.markers[1].y, 2.5f);
    EXPECT_TRUE(read.markers[0].facesRight);
    EXPECT_FALSE(read.markers[1].facesRight);
    ASSERT_EQ(read.exits.size(), 1u);
    const PatchExit& exit = read.exits[0];
    EXPECT_EQ((std::vector<std::string>{exit.name, exit.targetLevel, exit.targetEntry, exit.requiredItem, exit.useEvent}),
              (std::vector<std::string>{"to_town", "town", "[start]", "drill_1", "enteredTown"}));
    EXPECT_EQ((std::vector<float>{exit.x, exit.y, exit.halfSize}), (std::vector<float>{12.0f, 80.0f, 40.0f}));
    EXPECT_TRUE(exit.automatic);
    ASSERT_EQ(read.entities.size(), 1u);
    const PatchEntity& e = read.entities[0];
    EXPECT_EQ(e.id, 6u);
    EXPECT_EQ(e.definitionName, "mire_crawler");
    EXPECT_EQ(e.name, "first");
    EXPECT_TRUE(e.settle);
    EXPECT_FALSE(e.randomQuarterTurn);
    EXPECT_EQ((std::vector<float>{e.x, e.y, e.facingX, e.facingY, e.angle}),
              (std::vector<float>{160.0f, 200.0f, -1.0f, 1.0f, 1.5f}));
    EXPECT_EQ(e.placementNumber, 0);
    ASSERT_EQ(read.typedObjects.size(), 2u);
    EXPECT_EQ(read.typedObjects[0].name, "area");
    EXPECT_EQ(read.typedObjects[0].kind, PatchTypedObject::Rectangle);
    EXPECT_EQ((std::vector<float>{read.typedObjects[0].x, read.typedObjects[0].y, read.typedObjects[0].width,
                                  read.typedObjects[0].height}),
              (std::vector<float>{1.0f, 2.0f, 30.0f, 40.0f}));
    EXPECT_EQ(read.typedObjects[1].name, "spot");
    EXPECT_EQ(read.typedObjects[1].kind, PatchTypedObject::Point);
    EXPECT_EQ(read.typedObjects[1].id, 7u);
    ASSERT_EQ(read.graphNodes.size(), 1u);
    const PatchGraphNode& n = read.graphNodes[0];
    EXPECT_EQ(n.id, 10u);
    EXPECT_EQ(n.typeName, "LevelStarted");
    EXPECT_EQ(n.width, 120.0f);
    EXPECT_EQ(n.properties, node.properties);
    ASSERT_EQ(n.links.size(), 2u);
    EXPECT_EQ(n.links[1].slot, "bind");
    EXPECT_EQ(n.links[1].secondName, "target");
    EXPECT_EQ(n.links[1].targetId, 6u);
}

// Property kind bytes: bit 0 a boolean whose value is bit 1, else a text follows; a later
// property of a key replaces the earlier one. The writer only writes 3, 1 and 0.
TEST(PatchSetSection, PropertyKindBytes) {
    Patch patch = patchOf("p", 1, 1);
    PatchGraphNode node;
    node.properties = {{"a", true}, {"b", false}, {"c", std::string("text")}};
    patch.graphNodes.push_back(node);
    const std::string bytes = writePatchLibrary(libraryWith({{"s", {patch}}}));
    const auto properties = test::readLibrary(bytes)->findPatchSet("s")->patches[0]->graphNodes[0].properties;
    EXPECT_EQ(properties.at("a"), PatchGraphValue(true));   // byte 3
    EXPECT_EQ(properties.at("b"), PatchGraphValue(false));  // byte 1
    EXPECT_EQ(properties.at("c"), PatchGraphValue(std::string("text")));  // byte 0 and a name
}

TEST(PatchSetSection, EveryReadGivesNewPatchIds) {
    const std::string bytes = writePatchLibrary(libraryWith({{"s", {patchOf("a", 1, 1), patchOf("b", 1, 1)}}}));
    const auto first = test::readLibrary(bytes)->findPatchSet("s");
    const auto second = test::readLibrary(bytes)->findPatchSet("s");
    EXPECT_GT(first->patches[0]->id, 0);
    EXPECT_EQ(first->patches[1]->id, first->patches[0]->id + 1);
    EXPECT_GT(second->patches[0]->id, first->patches[1]->id);
}

} // namespace
} // namespace zor
