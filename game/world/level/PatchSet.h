#pragma once
// Patch sets: named groups of hand-made pieces of level that the level builder places
// copies of. A patch is a rectangle of tiles in one or more tile layers, an optional grid
// of embedded resources and the things that come with it. Positions and sizes of the
// object records are pixels relative to the patch's top-left corner.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "Framework/core/math/Matrix4.h"

namespace zor {

// A decal.
struct PatchTransformObject {
    std::string name;  // texture
    std::uint32_t id = 0;
    fpMatrix4 transform;
};

// A world sprite.
struct PatchPointObject {
    std::string name;  // sprite
    std::uint32_t id = 0;
    float x = 0.0f;
    float y = 0.0f;
    float depth = 0.0f;
    float scaleX = 0.0f;
    float scaleY = 0.0f;
    float angle = 0.0f;
    std::uint32_t value = 0;  // carried, not interpreted
};

// An entry point; the builder collects the markers of one name into one list.
struct PatchMarker {
    std::string name;
    float x = 0.0f;
    float y = 0.0f;
    bool facesRight = false;
};

// A level exit: its trigger is the square of side 2 * halfSize whose bottom edge is
// centred on (x, y).
struct PatchExit {
    std::string name;
    float x = 0.0f;
    float y = 0.0f;
    float halfSize = 0.0f;
    std::string targetLevel;
    std::string targetEntry;
    std::string requiredItem;  // empty for none
    std::string useEvent;      // posted to the player when the exit is used
    bool automatic = false;    // used on contact rather than by activating
};

// An actor, or a free-standing resource when no actor definition has the name.
struct PatchEntity {
    std::uint32_t id = 0;
    std::int32_t placementNumber = 0;
    std::string definitionName;
    std::string name;
    bool settle = false;
    bool randomQuarterTurn = false;
    float x = 0.0f;
    float y = 0.0f;
    float facingX = 0.0f;
    float facingY = 0.0f;
    float angle = 0.0f;  // radians
    // Written by the level builder: half the copy's pixel size minus the position.
    float centreOffsetX = 0.0f;
    float centreOffsetY = 0.0f;
};

// A collision rectangle or point.
struct PatchTypedObject {
    enum Kind : std::int32_t { Point = 0, Rectangle = 1 };

    std::string name;
    std::uint32_t id = 0;
    std::int32_t placementNumber = 0;
    std::int32_t kind = Point;
    float x = 0.0f;
    float y = 0.0f;
    float width = 0.0f;   // rectangles only
    float height = 0.0f;
};

struct PatchGraphLink {
    std::string slot;
    std::string secondName;  // carried
    std::uint32_t targetId = 0;  // a record of the same patch
    std::int32_t placementNumber = 0;
};

using PatchGraphValue = std::variant<bool, std::string>;

// A script-graph node descriptor.
struct PatchGraphNode {
    std::uint32_t id = 0;
    std::int32_t placementNumber = 0;
    std::string name;
    std::string typeName;
    float x = 0.0f;
    float y = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
    std::map<std::string, PatchGraphValue> properties;
    std::vector<PatchGraphLink> links;
};

// The combined step of tile layers of scales `step` and `scale` (both at least 1, their
// product within 32 bits): the least common multiple for the scales in use (1 and 2). The
// patch library and the level builder combine layer scales by this rule.
std::int32_t combineStep(std::int32_t step, std::int32_t scale);

class PatchSet {
public:
    // One tile layer: (height / scale) rows of (width / scale) tile words of the patch.
    struct TileLayer {
        std::int32_t scale = 1;  // level cells per layer cell
        std::int32_t value = 0;  // carried, not read by generation
        std::vector<std::uint16_t> tiles;
    };

    // width * height cells: 0 no resource, else the 1-based index of a resource definition.
    struct ResourceLayer {
        std::vector<std::uint16_t> cells;
    };

    struct Patch {
        // The defaults, with the next id of the run (the first patch gets 1).
        Patch();

        // Whether layer 0 is present: the patch is solid rather than decoration or filler.
        bool hasTileLayer(std::size_t index) const { return index < tileLayers.size() && tileLayers[index]; }
        // 0, 1 or 2: how many of fixedX and fixedY are set (not -1).
        int fixedCoordinates() const { return (fixedX != -1 ? 1 : 0) + (fixedY != -1 ? 1 : 0); }

        std::int32_t id;  // unique for the run; the builder counts placements per id
        const PatchSet* owner = nullptr;
        std::string name;
        std::int32_t width = 0;   // level cells
        std::int32_t height = 0;
        std::int32_t count = 1;    // copies to try per slice
        std::int32_t maxUses = 0;  // placements per level build; 0 no limit
        std::int32_t priority = 0; // larger first
        std::int32_t margin = 0;   // cells added to both sides of the footprint
        float weight = 1.0f;       // copies per area, or a filler patch's draw weight
        std::int32_t fixedX = -1;  // column inside the slice, -1 when free
        std::int32_t fixedY = -1;
        bool onCarvedOnly = false;
        bool onUnpaintedOnly = false;
        std::string deckName;
        std::shared_ptr<ResourceLayer> resourceGrid;              // may be none
        std::vector<std::shared_ptr<TileLayer>> tileLayers;       // entries may be none
        std::int32_t step = 1;  // combined scale of the tile layers
        std::vector<PatchTransformObject> transformObjects;
        std::vector<PatchPointObject> pointObjects;
        std::vector<PatchMarker> markers;
        std::vector<PatchExit> exits;
        std::vector<PatchEntity> entities;
        std::vector<PatchTypedObject> typedObjects;  // rectangles first, then points
        std::vector<PatchGraphNode> graphNodes;
    };

    std::string name;
    std::vector<std::shared_ptr<Patch>> patches;  // file order
};

} // namespace zor
