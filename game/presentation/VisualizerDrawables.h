#pragma once
// The drawable records the Visualizer keeps per entity that has something to show, by
// entity id. A record holds one reference on each sprite and text mesh it names.

#include "Framework/core/math/Color.h"
#include "Framework/core/math/Matrix4.h"
#include "Framework/core/math/Rect.h"
#include "Framework/graphics/sprite/Sprite.h"
#include "Framework/graphics/text/TextMesh.h"
#include "Framework/graphics/textureset/TextureSet.h"

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

namespace zor {
class Beam;
class EffectObject;
class GameObject;
class LightObject;
class TileDamage;
class WorldText;
} // namespace zor

namespace zor::presentation {

struct GameObjectDrawable {
    GameObject* entity = nullptr;
    SpritePtr sprite;
    fpVector2 current;
    fpVector2 previous;
    std::int32_t step = 0;
    std::int32_t lastWeapon = -1;
    fpRect relativeBounds;  // around the sprite's position; they only grow
    bool visible = false;
};

struct EffectDrawable {
    EffectObject* entity = nullptr;
    SpritePtr sprite;
};

struct WorldTextDrawable {
    WorldText* entity = nullptr;
    TextMeshPtr mesh;  // null until built
    fpMatrix4 matrix;
    SpritePtr icon;
    fpVector2 current;
    fpVector2 previous;
    std::int32_t step = 0;
};

struct TileDamageDrawable {
    TileDamage* entity = nullptr;
    SpritePtr sprite;
};

struct LightDrawable {
    LightObject* entity = nullptr;
    SpritePtr sprite;
    fpVector2 current;
    fpVector2 previous;
    Color3 currentColor;
    Color3 previousColor;
    float currentSize = 0.0f;
    float previousSize = 0.0f;
    std::int32_t step = 0;
};

// One flickering piece of a lightning beam.
struct BeamSegment {
    std::uint32_t texture = 0;  // into the beam's texture list
    float timer = 0.0f;
    float angle = 0.0f;
    fpVector2 position;
    fpVector2 scale;
    fpRect source;
};

using BeamTextureList = std::vector<TextureSetReference>;

struct BeamDrawable {
    Beam* entity = nullptr;
    std::vector<BeamSegment> segments;
    SpritePtr endSprite;
    std::shared_ptr<const BeamTextureList> textures;  // null for lasers
};

// Tables by entity id: drawn in id order, which is the order the World registers them in.
template <class Record>
using DrawableTable = std::map<std::int32_t, Record>;

} // namespace zor::presentation
