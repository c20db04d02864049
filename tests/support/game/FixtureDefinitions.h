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
// Actors: "player" (HitPoints 10, Water 5, LightTime 120, animated "miner_body"), "crawler"
// (animated "crawler_body", HeartBeatTime 2, IdleSoundTime 6), "keeper" (persistent, reset
// with the earth), "stone_guard" (persistent, not reset with the earth), "turner" (turns
// and rounds its collision box with its facing), "clinger" (turns, attached downwards, a
// cannon), "sentry" (AutoFacing false, Water 20, JumpSpeed 500 with the high jump, dash
// 300, weapons: pick, lance (WaterDrain 1, MinWater 10), stomp (AttackOnGround), nudge
// (contact, no damage), wind_up (charge damage only), spit, shell and ray (attack types 3
// to 5, no damage)), "trough" (a pool of Water 7), "phantom" (a crawler whose animation is
// not defined).
// Resources: "ore", "gem" (persistent), "orb", "refill_health", "refill_water",
// "refill_light", "supply_crate" (spawns a refill), "orb_cluster" (2 to 4 orbs),
// "spore_cache" (a "spores" projectile, then itself), "crawler_egg" (a "crawler"); each
// registers its inventory item.
// Projectiles: "spores" (RadialDamage Amount 2, Radius 30). Effects: "puff", "glow_burst"
// (with a light, Scale 2). Materials: "loam" (regrows in 2 s with "puff") and
// "lichen_matter" (regrows in 1 s without effect). Animations: "PlayerLegs", "miner_body", "crawler_body",
// compiled into the animation machine table.
void loadFixtureDefinitions();

// Loads `definitions` (elements of the kind, without the file's root element) into the
// kind's registry, as the file `file` would.
template <class T>
void addDefinitions(DefinitionRegistry<T>& registry, const std::string& file, const std::string& definitions) {
    registry.loadText(file, "<" + registry.rootName() + ">" + definitions + "</" + registry.rootName() + ">");
}

} // namespace zor::test
