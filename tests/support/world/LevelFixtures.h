#pragma once
// Small worlds of game data for level builds: a patch library compiled from XML texts in
// the test and resource and actor registries of their own, handed to the builder as its
// sources (the program's registries stay untouched).
//
// Tile types (index: name): 0 empty, 1 dirt (tier 1), 2 rubble (tier 1), 3 bedrock
// (indestructible), 4 moss (tier 1, regrows), 5 back (not solid), 6 stone (tier 2); all
// solid but empty and back. Tile sets: "dirt", "rubble", "bedrock", "moss", "back", "stone",
// "mixed" (dirt stone), "walls" (dirt bedrock). Legend characters for patches: _ empty,
// # dirt, B bedrock, M moss, b back, S stone, F dirt that is not present; resources
// c copper, t tin, g glint, p gem+0 (placeholder), x crate (free-standing).
//
// Resources, in registry order (1-based): 1 copper (ore, tier 0), 2 tin (ore, tier 1.5),
// 3 silver (ore, tier 3), 4 glint (gem, tier 0), 5 shard (gem, tier 2), 6 crystal (gem,
// tier 5), 7 gem+0 (gem placeholder), 8 egg_small, 9 egg_large (eggs), 10 crate
// (free-standing, persistent), 11 ore_here (ore placeholder, bias 0); ores and gems and eggs
// have tile textures. Actors: "crawler", "keeper" (persistent, reset with the earth),
// "guard" (persistent, not reset with the earth).

#include <memory>
#include <string>
#include <vector>

#include "Framework/core/math/Randomizer.h"
#include "game/definitions/ActorDefinition.h"
#include "game/definitions/ResourceDefinition.h"
#include "game/world/level/LevelBuilder.h"

namespace zor::test {

// A <PatchLibrary> document with the fixture legend around `body` (patch sets).
std::string patchDocument(const std::string& body);
// A level description: the required VeinTextures and `body`.
std::string levelDescription(const std::string& body);

class LevelFixture {
public:
    // `patchSets`: the bodies of patch documents (see patchDocument). `resources` replaces
    // the fixture resources when not empty (elements of <ResourceDefinitions>).
    explicit LevelFixture(const std::vector<std::string>& patchSets = {}, const std::string& resources = "");

    LevelBuildSources sources() const;
    // Builds the description on a builder of its own; seeds for a new info come from
    // Randomizer(1, 2).
    std::shared_ptr<Level> build(const std::string& description, std::shared_ptr<PersistentLevelInfo>& info) const;
    // The same on fixed seeds, not remembered.
    std::shared_ptr<Level> build(const std::string& description, std::int32_t seedLow = 12345,
                                 std::int32_t seedHigh = 678, bool legacy = false) const;
    // The 1-based registry index of a resource.
    std::int32_t resourceIndex(const std::string& name) const;

    DefinitionRegistry<ResourceDefinition> resources{"ResourceDefinitions", "Resource", "Name"};
    DefinitionRegistry<ActorDefinition> actors{"ActorDefinitions", "Actor", "Name"};
    std::shared_ptr<const PatchLibraryTables> library;
};

} // namespace zor::test
