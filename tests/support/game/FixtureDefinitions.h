#pragma once
// The game data of harness games: small definitions written as XML texts, loaded into the
// program's definition registries. The registries only grow and keep the first record of a
// name, so a test program loads the fixture once and adds what else it needs under names
// of its own.

#include "game/definitions/DefinitionRegistry.h"

#include <string>

namespace zor::test {

// Loads the fixture definitions once per test program; later calls do nothing.
//
// Actors: "player" (HitPoints 10, Water 5, LightTime 120), "crawler", "keeper" (persistent,
// reset with the earth), "stone_guard" (persistent, not reset with the earth), "turner"
// (turns its collision box with its facing).
// Resources: "ore", "gem" (persistent), "orb", "refill_health", "refill_water",
// "refill_light", "supply_crate" (spawns a refill), "orb_cluster" (2 to 4 orbs),
// "spore_cache" (a "spores" projectile, then itself), "crawler_egg" (a "crawler").
// Projectiles: "spores". Effects: "puff", "glow_burst" (with a light, Scale 2).
void loadFixtureDefinitions();

// Loads `definitions` (elements of the kind, without the file's root element) into the
// kind's registry, as the file `file` would.
template <class T>
void addDefinitions(DefinitionRegistry<T>& registry, const std::string& file, const std::string& definitions) {
    registry.loadText(file, "<" + registry.rootName() + ">" + definitions + "</" + registry.rootName() + ">");
}

} // namespace zor::test
