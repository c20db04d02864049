#pragma once
// The damage record of actors, weapons, beams and projectiles; also built in code by the
// game, which fills some fields and leaves the rest at these defaults.

#include <cstdint>

#include <pugixml.hpp>

#include "game/definitions/NameEnumerations.h"

namespace zor {

struct DamageData {
    float amount = 0.0f;
    std::int32_t tier = 666;
    std::int32_t tileReduction = 0;
    float enemyReduction = 0.0f;
    float enemyAmount = 0.0f;
    float totalHits = 0.0f;
    // Never in data: the game sets the id of the object dealing the damage.
    std::int32_t sourceObjectId = 0;
    bool ignoreDepth = false;
    float enemyInvulnerabilityCooldown = 0.0f;
    float playerInvulnerabilityCooldown = 2.0f;
    float knockbackMultiplier = 1.0f;
    DamageType type = DamageType::Normal;
    bool contactOnly = false;

    // Reads the attributes of the child `childName` of `element` over the record; nothing
    // changes when that child is absent.
    void read(const pugi::xml_node& element, const char* childName);
};

} // namespace zor
