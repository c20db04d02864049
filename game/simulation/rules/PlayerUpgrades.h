#pragma once
// What the owned upgrades do to the player. Every call starts again from the registered
// definition, so applying the same upgrades twice never adds twice.

namespace zor {

class ActorObject;
struct ItemCountMap;
struct PlayerProgress;

// Installs on `player` (as its actor and its game-object definition) a fresh copy of the
// registered definition of its name with the upgrades counted in `items` applied. With
// `refill`, a vital value whose maximum rose fills up to the new maximum, and the player
// asks for its current weapon again (weapon 1 instead of 0 or none). A definition without
// the weapons 1 to 3 keeps the weapons it has; what it lacks is logged once per definition
// name. Throws CheckReleaseError when the definition's name is not registered.
void applyPlayerUpgrades(const ItemCountMap& items, ActorObject& player, bool refill);

// Sets the carried inventory's capacity from the progress's items: 3 slots and one per
// pouch upgrade count.
void pouchCapacity(PlayerProgress& progress);

} // namespace zor
