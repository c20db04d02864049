#include "game/definitions/ShopDefinition.h"

#include <algorithm>

#include <boost/algorithm/string/classification.hpp>
#include <boost/algorithm/string/split.hpp>

#include "game/definitions/DefinitionLoader.h"

namespace zor {

template class DefinitionRegistry<ShopDefinition>;

namespace {

std::vector<std::string> splitNonEmpty(const std::string& text, const char* separators) {
    std::vector<std::string> pieces;
    boost::split(pieces, text, boost::is_any_of(separators), boost::token_compress_on);
    pieces.erase(std::remove(pieces.begin(), pieces.end(), std::string()), pieces.end());
    return pieces;
}

} // namespace

void ShopDefinition::read(const boost::property_tree::ptree& definition) {
    restockLight = definition.get<bool>("RestockLight", restockLight);
    restockHealth = definition.get<bool>("RestockHealth", restockHealth);
    character = definition.get<std::string>("Character", character);
    for (const std::string& group : splitNonEmpty(definition.get<std::string>("Upgrades"), "; \t\r\n"))
        upgradeGroups.push_back(splitNonEmpty(group, ", \t\r\n"));
}

DefinitionRegistry<ShopDefinition>& shopRegistry() {
    static DefinitionRegistry<ShopDefinition> registry("ShopDefinitions", "Shop", "Name");
    return registry;
}

std::shared_ptr<ShopDefinition> findShopDefinition(const std::string& name) { return shopRegistry().find(name); }

} // namespace zor
