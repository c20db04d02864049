#pragma once
// The patch compiler's readable sources: XML files whose root <PatchLibrary> holds, in any
// order and spread over any number of files,
//   <TileType Name Texture EdgeTexture SecondEdgeTexture Material Solid Tier HardnessBase
//             HardnessStep BreaksAtFirstHit BreaksUnderPressure OpenSide Regrows NoWallSlide/>
//       tile indices follow the order of the tile types (files in name order); OpenSide
//       (0 to 3) makes the tile one-sided;
//   <TileSet Name>tile type names</TileSet>
//   <Legend> of <Tile Char Type MirrorX MirrorY Turn NotPresent/> and <Resource Char Name/>
//       entries, for the patches of the file (a patch set's and a patch's own legends add to it);
//   <PatchSet Name> of <Legend> and <Patch Name Width Height Deck Count MaxUses Priority
//       Margin Weight FixedX FixedY OnCarvedOnly OnUnpaintedOnly> elements, each holding
//       <Legend>, <Layer Scale Value> grids in layer order (<Layer/> for an empty entry),
//       one <Resources> grid, and the objects <Decal Id Name X Y Depth ScaleX ScaleY/>,
//       <Sprite Id Name X Y Depth ScaleX ScaleY Angle Value/>, <Marker Name X Y FacesRight/>,
//       <Exit Name X Y HalfSize TargetLevel TargetEntry RequiredItem UseEvent Automatic/>,
//       <Entity Id Definition Name Settle RandomQuarterTurn X Y FacingX FacingY Angle/>,
//       <Rect Id Name X Y Width Height/>, <Point Id Name X Y/> and <Node Id Name Type X Y
//       Width Height> with <Property Name Bool|Text/> and <Link Slot Second Target/>;
//       positions in pixels from the patch's top-left corner, angles in radians, ids unique
//       in the patch (given where links name them, else numbered from 1);
//   <Level Name SubLevel> with <Link Target RequiredItem/> elements.

#include <set>
#include <string>
#include <vector>

#include "tools/patch_compiler/compiler/LibraryFile.h"
#include "tools/patch_compiler/compiler/SourceDocument.h"

namespace zor {

// The names of the game data that sources refer to.
struct GameDataNames {
    std::vector<std::string> resources;  // the order of Definitions/resources.xml
    std::set<std::string> materials;     // Definitions/materials.xml
    std::set<std::string> levels;        // the level descriptions in Levels
};

// The library the sources describe, records in file order (files in the given order).
// Throws SourceError "<file>:<line>: <reason>" for anything the game could not use.
LibraryFile parsePatchSources(const std::vector<SourceFile>& sources, const GameDataNames& names);

} // namespace zor
