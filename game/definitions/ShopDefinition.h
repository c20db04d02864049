#pragma once
// A shop: the groups of upgrades it offers and whether a visit refills light and health.
// Read from the property tree of its element.

#include <memory>
#include <string>
#include <vector>

#include <boost/property_tree/ptree_fwd.hpp>

#include "game/definitions/DefinitionRegistry.h"

namespace zor {

struct ShopDefinition {
    bool restockLight = false;
    bool restockHealth = false;
    std::string character; // character definition name
    // Groups of upgrade names; those of the definition follow the template's.
    std::vector<std::vector<std::string>> upgradeGroups;

    // "Upgrades" is required: groups are separated by ";" or white space, the names of a
    // group by "," or white space, so no name ever holds a blank. Optional booleans take
    // 1, 0, true and false; anything else keeps the value.
    void read(const boost::property_tree::ptree& definition);
};

extern template class DefinitionRegistry<ShopDefinition>;

// Root "ShopDefinitions", element "Shop", key "Name"; file "Definitions/shops.xml".
DefinitionRegistry<ShopDefinition>& shopRegistry();

// Null when the name is not registered.
std::shared_ptr<ShopDefinition> findShopDefinition(const std::string& name);

} // namespace zor
