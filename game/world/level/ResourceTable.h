#pragma once
// Which ore or gem a cell gets for its depth: the ores by whole depth tier, the gems by
// their DepthTier thresholds, and the bands that shift an ore's tier at random (in the
// middle of a tier the tier itself is likeliest; near its ends the neighbour tier is about
// as likely).

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Framework/core/math/RandomField.h"
#include "game/definitions/ResourceDefinition.h"

namespace zor {

class IRandomizer;

class ResourceTable {
public:
    struct Gem {
        std::string name;
        float depthTier = 0.0f;
    };

    // Ore tiers beyond this are not entered: the tier list is indexed by tier.
    static constexpr std::int32_t MaxOreTier = 4095;

    // From resource definitions in registry order; those with a negative DepthTier are not
    // entered, and a later ore of a tier replaces an earlier one.
    explicit ResourceTable(const std::vector<std::shared_ptr<ResourceDefinition>>& definitions);

    // The resource for `position` (in depth tiers): an ore of the truncated tier (shifted by
    // a random band when randomResources; one draw), clamped to the tiers there are; the
    // last gem whose tier the position has reached (the first gem above none); the empty
    // name for other types, for an empty list and for a tier no ore has.
    const std::string& pick(float position, ResourceType type, IRandomizer& randomizer, bool randomResources);

    const std::vector<std::string>& ores() const { return m_ores; }
    const std::vector<Gem>& gems() const { return m_gems; }

private:
    const std::string& pickOre(float position, IRandomizer& randomizer, bool randomResources);
    const std::string& pickGem(float position) const;

    std::vector<std::string> m_ores;  // by tier; empty names for tiers without an ore
    RandomField<std::int32_t> m_bands;
    std::vector<Gem> m_gems;  // expected in ascending tier order
};

} // namespace zor
