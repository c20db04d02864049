#include "game/definitions/DamageData.h"

#include <cstring>

#include "Framework/core/xml/XmlValues.h"

namespace zor {

void DamageData::read(const pugi::xml_node& element, const char* childName) {
    const pugi::xml_node damage = element.child(childName);
    if (!damage)
        return;
    amount = xmlAttributeFloat(damage, "Amount", amount);
    tier = xmlAttributeInt(damage, "Tier", tier);
    tileReduction = xmlAttributeInt(damage, "TileReduction", tileReduction);
    enemyReduction = xmlAttributeFloat(damage, "EnemyReduction", enemyReduction);
    enemyAmount = xmlAttributeFloat(damage, "EnemyAmount", enemyAmount);
    totalHits = xmlAttributeFloat(damage, "TotalHits", totalHits);
    ignoreDepth = xmlAttributeBool(damage, "IgnoreDepth", ignoreDepth);
    enemyInvulnerabilityCooldown =
        xmlAttributeFloat(damage, "InvulnerabilityEnemyCooldown", enemyInvulnerabilityCooldown);
    playerInvulnerabilityCooldown =
        xmlAttributeFloat(damage, "InvulnerabilityPlayerCooldown", playerInvulnerabilityCooldown);
    knockbackMultiplier = xmlAttributeFloat(damage, "KnockbackMultiplier", knockbackMultiplier);
    if (const pugi::xml_attribute typeName = damage.attribute("Type"))
        type = parseDamageType(typeName.value());
    if (const pugi::xml_attribute filter = damage.attribute("Filter"))
        contactOnly = std::strcmp(filter.value(), "contact") == 0;
}

} // namespace zor
