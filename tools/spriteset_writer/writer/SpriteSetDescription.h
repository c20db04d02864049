#pragma once
// The readable description of a sprite set, from which the writer makes a sprite set
// folder. An XML file of this form:
//
//   <SpriteSet FramesPerSecond="30" PageSize="1024" Padding="2">
//     <Image Name="button_face" File="button_face.png"/>
//     <Sprite Name="button" Frames="20" Texture="" Origin="0;0">
//       <Label Frame="0" Text="idle"/>
//       <Label Frame="10" Text="pressed"/>
//       <Child Name="face__depth__50" Sprite="button_face" Depth="1" Position="0;0"
//              Rotation="0" Scale="1;1" Life="0;19" Color="1;1;1;1" Enabled="true">
//         <Key Frames="0;9" Position="0;0" Scale="1;1" Rotation="0" Color="1;1;1;1" Visible="true"/>
//       </Child>
//       <Shape Name="bounds" Type="3" Points="-20;-10 20;-10 20;10 -20;10">
//         <Key Frames="0;19"/>
//       </Shape>
//     </Sprite>
//   </SpriteSet>
//
// Every attribute but the names and File is optional, with the defaults shown above
// except: Frames 0, Life "0;0", a child key's Frames the child's Life, a shape key's
// Frames every frame. Rotations are written in degrees; the Origin is where the image's
// top-left corner lies in the node's space; positions and sizes are layout units, while
// images are drawn at three pixels a unit. Image files are relative to the image folder.
// Unknown elements and attributes are errors.

#include <cstdint>
#include <string>
#include <vector>

#include "Framework/graphics/sprite/SpriteDefinition.h"

namespace zor::spriteset {

struct ImageDescription {
    std::string name;  // the sub-texture name sprites use; default the file name without extension
    std::string file;
};

struct SpriteSetDescription {
    std::uint32_t framesPerSecond = 30;
    int pageSize = 1024;  // largest atlas page side in pixels
    int padding = 2;      // transparent pixels around each packed image
    std::vector<ImageDescription> images;
    // As the set file holds them: node definitions in file order, labels by frame.
    std::vector<SpriteDefinition> sprites;
};

// Throws std::runtime_error "<source>:<line>: <reason>" for malformed text.
SpriteSetDescription parseSpriteSetDescription(const std::string& text, const std::string& sourceName);
SpriteSetDescription readSpriteSetDescription(const std::string& path);

} // namespace zor::spriteset
