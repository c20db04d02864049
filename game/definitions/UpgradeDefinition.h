#pragma once
// An upgrade the player can own, with its purchasable tiers and prices.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "game/definitions/DefinitionRegistry.h"

namespace zor {

struct UpgradeDefinition {
    struct Tier {
        std::string title;       // localization id
        std::string description; // localization id
        std::int32_t goldCost = 0;
        std::int32_t orbCost = 0;
        float value = 0.0f;
        std::string iconSprite;
    };

    std::string name;
    std::string bannerHeaderId; // localization id
    std::string iconSprite;
    std::int32_t limit = 0;
    bool consumable = false;
    std::int32_t startWith = 0;
    std::string unhiddenByUpgrade;
    std::int32_t unhiddenByTier = 0;
    std::string unlockedByUpgrade;
    std::int32_t unlockedByTier = 0;
    std::int32_t levelRequired = 1; // experience level
    // Never empty after reading.
    std::vector<Tier> tiers;

    // A "Tiers" element replaces the inherited tiers; each "Tier" needs "Desc", "CostGold"
    // and "CostOrbs". Without any tier the upgrade gets one titled by "TitleStringId". A
    // limit of 0 becomes the number of tiers.
    void read(const pugi::xml_node& element);

    // The tier of a level counted from 1, clamped to the first and the last tier.
    const Tier& tier(std::int32_t level) const;
};

extern template class DefinitionRegistry<UpgradeDefinition>;

// Root "UpgradeDefinitions", element "Upgrade", key "Name"; file "Definitions/upgrades.xml".
DefinitionRegistry<UpgradeDefinition>& upgradeRegistry();

// Throws CheckReleaseError for an unregistered name.
UpgradeDefinition& findUpgradeDefinition(const std::string& name);
// Null when the name is not registered.
std::shared_ptr<UpgradeDefinition> findUpgradeDefinitionOrNull(const std::string& name);

} // namespace zor
