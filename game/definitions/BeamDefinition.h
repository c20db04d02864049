#pragma once
// A lightning or laser beam carried by a game object or started by an instruction.
// The registry key is its name.

#include <cstdint>
#include <limits>
#include <memory>
#include <string>

#include <pugixml.hpp>

#include "Framework/core/math/Color.h"
#include "Framework/core/math/Curve.h"
#include "game/definitions/DamageData.h"
#include "game/definitions/DefinitionRegistry.h"
#include "game/definitions/NameEnumerations.h"

namespace zor {

enum class BeamType : std::int32_t { Lightning = 0, Laser = 1 };

struct BeamDefinition {
    BeamType type = BeamType::Lightning;
    bool updatePosition = true;
    bool updateLength = true;
    bool physicalized = false;
    float range = 200.0f; // pixels
    float angularVelocity = 0.0f; // radians per second
    float lifetime = std::numeric_limits<float>::max(); // seconds
    float fadeTime = 0.2f;
    CurveType fadeInterpolation = CurveType::Linear;
    DamageData damage;
    float damageWidth = 20.0f;
    float damageInterval = 0.2f;
    float stunTime = 0.0f;
    std::uint32_t collideAgainst = CollisionGroup::Player | CollisionGroup::Enemies | CollisionGroup::HardEnemies |
                                   CollisionGroup::Tiles | CollisionGroup::Boss;
    std::uint32_t stopAgainst = CollisionGroup::Tiles;
    bool isSensor = true;
    Color3 lightColor{1.0f, 1.0f, 1.0f};
    float lightWidth = 80.0f;
    Color3 laserColor{1.0f, 1.0f, 1.0f};
    float laserWidth = 20.0f;
    std::int32_t renderPriority = 1800;
    float segmentOverlap = 0.0f;
    std::string textures;  // base name of the numbered images in the beam texture set
    std::string endSprite;
    std::string constantSound;
    std::string oneShotSound;
    std::string disableUpgrade; // an upgrade that switches the beam off

    void read(const pugi::xml_node& element);
};

extern template class DefinitionRegistry<BeamDefinition>;

// Root "BeamDefinitions", element "Beam", key "Name"; file "Definitions/beams.xml".
DefinitionRegistry<BeamDefinition>& beamRegistry();

// Null when no beam has that name.
std::shared_ptr<BeamDefinition> findBeamDefinition(const std::string& name);

} // namespace zor
