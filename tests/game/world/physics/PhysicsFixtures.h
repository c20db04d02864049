#pragma once
// Small physics worlds for the tests: a tile map drawn from rows of text, the level's
// tile-map and bounds bodies, and boxes.

#include "game/definitions/NameEnumerations.h"
#include "game/world/PersistentTileMap.h"
#include "game/world/physics/PhysicsDebugCanvas.h"
#include "game/world/physics/PhysicsSystem.h"
#include "game/world/physics/ShapePairTests.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace zor::test {

// '#' is a solid cell, anything else empty; every row as long as the first.
inline std::shared_ptr<PersistentTileMap> tileMapFromRows(const std::vector<std::string>& rows) {
    auto grid = std::make_shared<PersistentTileMap>(std::int32_t(rows.front().size()), std::int32_t(rows.size()));
    for (std::size_t row = 0; row < rows.size(); ++row)
        for (std::size_t column = 0; column < rows[row].size(); ++column)
            if (rows[row][column] == '#') *grid->cell(std::int32_t(column), std::int32_t(row)) = TileBits::Solid;
    return grid;
}

inline PhysicalBody makeBody(AbstractShape* shape, std::uint32_t group, std::uint32_t mask, bool sensor = false) {
    PhysicalBody body;
    body.group = group;
    body.mask = mask;
    body.shape = shape;
    body.sensor = sensor;
    return body;
}

// A box whose position is its top-left corner.
inline std::unique_ptr<PhysicalObject> makeBox(const fpRect& rect, std::uint32_t group, std::uint32_t mask,
                                               bool sweepMove = true, bool sensor = false) {
    auto object = std::make_unique<PhysicalObject>();
    object->addBody(makeBody(new RectShape(fpRect(0.0f, 0.0f, rect.w, rect.h), sweepMove), group, mask, sensor));
    object->setPosition({rect.x, rect.y});
    return object;
}

// A level's physics: the grid's tile-map body (group "tiles") and the bounds body (group
// "bounds", 500 pixels deeper than the grid), both placed.
class PhysicsLevel {
public:
    explicit PhysicsLevel(std::shared_ptr<PersistentTileMap> grid)
        : grid(std::move(grid)),
          physics(fpRect(0.0f, 0.0f, float(this->grid->width()) * TileSize, float(this->grid->height()) * TileSize)) {
        installShapePairTests();
        tiles.addBody(makeBody(new TileMapShape(this->grid), CollisionGroup::Tiles, 0));
        bounds.addBody(makeBody(new BoundsShape(fpRect(0.0f, 0.0f, float(this->grid->width()) * TileSize,
                                                       float(this->grid->height()) * TileSize + 500.0f)),
                                CollisionGroup::Bounds, 0));
        physics.placeObject(tiles);
        physics.placeObject(bounds);
    }

    // Places a box in the level; the level keeps it.
    PhysicalObject& addBox(const fpRect& rect, std::uint32_t group, std::uint32_t mask, bool sweepMove = true,
                           bool sensor = false) {
        objects.push_back(makeBox(rect, group, mask, sweepMove, sensor));
        physics.placeObject(*objects.back());
        return *objects.back();
    }

    std::shared_ptr<PersistentTileMap> grid;
    PhysicsSystem physics;
    PhysicalObject tiles;
    PhysicalObject bounds;
    std::vector<std::unique_ptr<PhysicalObject>> objects;
};

// Remembers what the physics drew, one line of text per call.
class RecordingCanvas final : public PhysicsDebugCanvas {
public:
    void outline(const fpRect& rect, PackedColor color) override {
        calls.push_back("outline " + text(rect) + " " + hex(color));
    }
    void line(const fpVector2& from, const fpVector2& to, PackedColor color) override {
        calls.push_back("line " + text(from) + " " + text(to) + " " + hex(color));
    }
    void grid(const fpRect& rect, const fpVector2& cellSize, PackedColor color) override {
        calls.push_back("grid " + text(rect) + " " + text(cellSize) + " " + hex(color));
    }
    void message(const fpRect& box, const std::string& words, PackedColor color) override {
        calls.push_back("message " + text(box) + " " + words + " " + hex(color));
    }

    std::vector<std::string> calls;

private:
    static std::string number(float value) {
        std::string s = std::to_string(value);
        s.erase(s.find_last_not_of('0') + 1);
        if (s.back() == '.') s.pop_back();
        return s;
    }
    static std::string text(const fpRect& r) {
        return "(" + number(r.x) + "," + number(r.y) + "," + number(r.w) + "," + number(r.h) + ")";
    }
    static std::string text(const fpVector2& v) { return "(" + number(v.x) + "," + number(v.y) + ")"; }
    static std::string hex(PackedColor color) {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "%08X", color.value);
        return buffer;
    }
};

} // namespace zor::test
