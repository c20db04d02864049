#include "game/world/level/ResourceTable.h"

#include <algorithm>
#include <cmath>

#include "Framework/core/math/IRandomizer.h"
#include "game/world/level/LevelMath.h"

namespace zor {

namespace {

const std::string kNoResource;

RandomField<std::int32_t> tierBands() {
    return RandomField<std::int32_t>({{-2, 1.0f, -1.5f, 0.6f, 0.0f},
                                      {-1, 1.0f, -0.5f, 0.6f, 0.0f},
                                      {0, 1.0f, 0.5f, 0.6f, 0.0f},
                                      {1, 1.0f, 1.5f, 0.6f, 0.0f},
                                      {2, 1.0f, 2.5f, 0.6f, 0.0f}});
}

} // namespace

ResourceTable::ResourceTable(const std::vector<std::shared_ptr<ResourceDefinition>>& definitions)
    : m_bands(tierBands()) {
    for (const auto& definition : definitions) {
        if (!(definition->depthTier >= 0.0f)) continue;
        if (definition->resourceType == ResourceType::Ore) {
            const std::int32_t tier = truncToInt(definition->depthTier);
            if (tier > MaxOreTier) continue;
            if (m_ores.size() <= std::size_t(tier)) m_ores.resize(std::size_t(tier) + 1);
            m_ores[std::size_t(tier)] = definition->name;
        } else if (definition->resourceType == ResourceType::Gem) {
            m_gems.push_back({definition->name, definition->depthTier});
        }
    }
}

const std::string& ResourceTable::pick(float position, ResourceType type, IRandomizer& randomizer,
                                       bool randomResources) {
    switch (type) {
    case ResourceType::Ore:
        return pickOre(position, randomizer, randomResources);
    case ResourceType::Gem:
        return pickGem(position);
    default:
        return kNoResource;
    }
}

const std::string& ResourceTable::pickOre(float position, IRandomizer& randomizer, bool randomResources) {
    std::int32_t tier = truncToInt(position);
    if (randomResources) {
        const float withinTier = float(double(position) - double(tier));
        tier = saturatingAdd(tier, m_bands.pick(randomizer, withinTier).value);
    }
    if (m_ores.empty()) return kNoResource;
    return m_ores[std::size_t(std::clamp(tier, 0, std::int32_t(m_ores.size()) - 1))];
}

const std::string& ResourceTable::pickGem(float position) const {
    if (m_gems.empty()) return kNoResource;
    for (std::size_t i = 1; i < m_gems.size(); ++i)
        if (m_gems[i].depthTier > position) return m_gems[i - 1].name;
    return m_gems.back().name;
}

} // namespace zor
