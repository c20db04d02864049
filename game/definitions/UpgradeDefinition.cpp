#include "game/definitions/UpgradeDefinition.h"

#include <algorithm>

#include "game/definitions/DefinitionLoader.h"
#include "Framework/core/xml/XmlValues.h"

namespace zor {

template class DefinitionRegistry<UpgradeDefinition>;

void UpgradeDefinition::read(const pugi::xml_node& element) {
    name = requireXmlChildText(element, "Name");
    bannerHeaderId = xmlChildString(element, "BannerHeaderId", bannerHeaderId);
    iconSprite = xmlChildString(element, "IconSprite", iconSprite);
    limit = xmlChildInt(element, "Limit", limit);
    consumable = xmlChildBool(element, "Consumable", consumable);
    levelRequired = xmlChildInt(element, "LevelRequired", levelRequired);
    startWith = xmlChildInt(element, "StartWith", startWith);
    if (const pugi::xml_node unhiddenBy = element.child("UnhiddenBy")) {
        unhiddenByUpgrade = xmlAttributeString(unhiddenBy, "Name", unhiddenByUpgrade);
        unhiddenByTier = xmlAttributeInt(unhiddenBy, "Tier", unhiddenByTier);
    }
    if (const pugi::xml_node unlockedBy = element.child("UnlockedBy")) {
        unlockedByUpgrade = xmlAttributeString(unlockedBy, "Name", unlockedByUpgrade);
        unlockedByTier = xmlAttributeInt(unlockedBy, "Tier", unlockedByTier);
    }
    // Only the default title of the tiers; not kept.
    const std::string titleStringId = xmlChildString(element, "TitleStringId", "");

    if (const pugi::xml_node tierList = element.child("Tiers")) {
        tiers.clear();
        for (const pugi::xml_node tierNode : tierList.children("Tier")) {
            Tier entry;
            entry.title = xmlAttributeString(tierNode, "Title", titleStringId);
            entry.description = requireXmlAttributeText(tierNode, "Desc");
            entry.iconSprite = xmlAttributeString(tierNode, "IconSprite", "");
            entry.goldCost = requireXmlAttributeInt(tierNode, "CostGold");
            entry.orbCost = requireXmlAttributeInt(tierNode, "CostOrbs");
            entry.value = xmlAttributeFloat(tierNode, "Value", 0.0f);
            tiers.push_back(std::move(entry));
        }
    }
    if (tiers.empty()) {
        Tier only;
        only.title = titleStringId;
        tiers.push_back(std::move(only));
    }
    if (limit == 0)
        limit = static_cast<std::int32_t>(tiers.size());
}

const UpgradeDefinition::Tier& UpgradeDefinition::tier(std::int32_t level) const {
    const std::int32_t count = static_cast<std::int32_t>(tiers.size());
    return tiers[static_cast<std::size_t>(std::clamp(level, 1, count) - 1)];
}

DefinitionRegistry<UpgradeDefinition>& upgradeRegistry() {
    static DefinitionRegistry<UpgradeDefinition> registry("UpgradeDefinitions", "Upgrade", "Name");
    return registry;
}

UpgradeDefinition& findUpgradeDefinition(const std::string& name) { return upgradeRegistry().get(name); }

std::shared_ptr<UpgradeDefinition> findUpgradeDefinitionOrNull(const std::string& name) {
    return upgradeRegistry().find(name);
}

} // namespace zor
