#pragma once
// The settings part of every level: what the level's description file
// "Levels/<name>.xml" says about its music, switches, resources, tile hardness, generated
// terrain, backdrop, random decks and the slices the level builder assembles it from.

#include <cstdint>
#include <string>
#include <vector>

#include "Framework/core/math/Vector.h"

namespace zor {

struct PatchLibraryTables;

enum class BorderStyle : std::int32_t { Simplex = 0, Sinus = 1, Saw = 2, Square = 3 };
enum class FieldStyle : std::int32_t { Basic = 0, Abs = 1, Rect = 2, Circle = 3 };

// A noise or shape field that paints layer 0 of a slice.
struct FillerField {
    bool hard = false;
    bool withinBorders = false;
    FieldStyle style = FieldStyle::Basic;
    std::string tileset;
    float max = 0.5f;
    float freq = 0.0f;
    float freqX = 1.0f;
    float freqY = 1.0f;
    std::int32_t octaves = 1;
    float persistence = 0.5f;
    std::int32_t numberOfFields = 10;
    std::int32_t minSizeX = 1;
    std::int32_t minSizeY = 1;
    std::int32_t maxSizeX = 5;
    std::int32_t maxSizeY = 5;
    std::int32_t radius = 0;
    std::int32_t gap = 0;
};

// The terrain settings of the level and of each slice; the strings name tile sets.
struct FillerSettings {
    std::int32_t spacing = 0;
    std::string foreground;
    std::string midground;
    std::string background;
    std::string borders;
    std::int32_t borderWidth = 0;
    std::int32_t borderHeight = 0;
    BorderStyle borderStyle = BorderStyle::Simplex;
    float borderStyleValueA = 0.25f;
    bool borderSymmetric = false;
    std::vector<FillerField> fields;
};

// 3 with a background tile set, else 2 with a midground, else 1 with a foreground, else 0.
std::int32_t fillerLayerCount(const FillerSettings& fillers);

struct Backdrop {
    std::string texture;
    float depth = 3.0f;
    fpVector2 scale{1.0f, 1.0f};
    fpVector2 offset;
};

// A deck of `positives` true and `negatives` false draws that decides which candidate
// copies of the patches naming it are kept.
struct PatchDeck {
    std::string name;
    std::int32_t positives = 0;
    std::int32_t negatives = 0;
};

struct SliceResource {
    std::string resource;
    std::int32_t count = 0;
};

// A camera line, relative to the slice's top-left corner in pixels.
struct SliceClamp {
    fpVector2 start;
    fpVector2 end;
};

struct LevelSlice {
    FillerSettings fillers;
    Backdrop backdrop;
    std::vector<std::string> patchSets;
    std::string forcedPatch;  // set only by the single-patch debug build
    std::int32_t width = 0;   // tiles
    std::int32_t height = 0;
    std::vector<SliceResource> resources;
    std::vector<SliceClamp> clamps;
};

// The view width (virtual units of the first viewport) that widens a level with camera
// padding: 640 until the game sets its viewports. Safe from any thread.
float levelViewWidth();
void setLevelViewWidth(float width);

class LevelDefinition {
public:
    // Every field at its default.
    LevelDefinition();

    // Reads "Levels/<name>.xml" of the game data folder into this fresh record, then
    // computes the size with the patch sets of `library`. Throws CheckReleaseError "Could
    // not load level <path>: <reason>" for a missing, malformed or incomplete file (a
    // missing "VeinTextures" or slice "PatchSets", deck attribute or clamp end, or a
    // vector that is not two numbers).
    void load(const std::string& name, const PatchLibraryTables& library);
    // The same over a description already in memory.
    void load(const std::string& name, const std::string& text, const PatchLibraryTables& library);

    // Width (the widest slice) and height (the sum of the slices) in tiles. A slice of 0 by 0
    // takes the size of the one patch with a tile layer 0 of its patch sets (names the
    // library does not hold are skipped), and stays 0 by 0 when none or several qualify.
    // With cameraPadding the width grows by levelViewWidth() / 40.
    void computeSize(const PatchLibraryTables& library);

    // The hardness tier of a tile `depth` rows below the level's top row. A power without a
    // real value (a negative base raised to a fractional power) counts as 0, so the tier is
    // the constant; results beyond 32 bits are clamped.
    std::int32_t tileHardness(float depth) const;

    std::string name;
    std::string music;
    std::string environment = "DEFAULT";
    FillerSettings fillers;
    std::vector<PatchDeck> patchDecks;
    std::vector<LevelSlice> slices;
    Backdrop backdrop;
    std::int32_t width = 0;  // tiles, computed
    std::int32_t height = 0;
    float resourceDensityConstant = 0.0f;
    float resourceDensityLinear = 0.0f;
    std::int32_t resourceStartDepth = 0;
    float resourceTierLength = 30.0f;
    float resourceTierBias = 0.0f;
    std::int32_t hardnessDepthDelta = 0;
    std::int32_t hardnessConstant = 0;
    float hardnessLinear = 0.05f;
    float hardnessPower = 1.0f;
    std::int32_t hardnessMultiplier = 1;
    std::int32_t startDepth = -1;  // depth in tiles of the top row
    bool atSurface = false;
    bool saveOnEnter = false;
    bool saveOnLeave = false;
    bool disableLight = false;
    bool disableBuilding = false;  // always set for caves
    bool resetEarth = false;
    bool resetEntities = false;
    bool isCave = false;
    bool cameraPadding = false;
    bool bordersDontClampCamera = false;
    bool playerInvulnerable = false;
    bool randomResources = true;
    bool forceUpdateAll = false;
    std::vector<std::string> veinTextures;
};

// "Levels/<name>.xml".
std::string levelDescriptionPath(const std::string& name);

} // namespace zor
