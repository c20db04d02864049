#pragma once
// The light of the level: which cells the player has seen (the seen bit of the level's byte
// grid, saved with it), and the secrets the light reveals. Each unpaused step, after the
// Simulator, it marks the player's cell seen and spreads the seen state along straight runs
// of open cells in a window around the camera (24 x 18 cells at 640 x 360 units): rows left
// to right and back, then columns down and back up. A run turning from a row into a column
// is lit in one step; one turning from a column into a row, beyond the turn, in the next.
// Main thread only; nothing is allocated in a step.

#include "Framework/core/events/EventList.h"

#include <cstdint>

namespace zor {

class PersistentTileMap;
class World;
struct TileLayerGrid;
struct UpdateRecord;

class LightSimulator {
public:
    // The least time between two announced secrets, in seconds.
    static constexpr float SecretCooldown = 3.0f;

    explicit LightSimulator(World& world) : m_world(world) {}
    LightSimulator(const LightSimulator&) = delete;
    LightSimulator& operator=(const LightSimulator&) = delete;

    // One step of `record.stepLength` seconds. Without a level it only counts the cooldown
    // down; so does a viewport 0 whose window holds no cell (a zero size), which marks
    // nothing at all. Without a player (or a player body) the player's cell is skipped.
    void update(const UpdateRecord& record);

    // Fired at the end of a step in which the light revealed a secret cell, unless another
    // was announced less than SecretCooldown seconds before. The Game connects the
    // Simulator's secret handler to it.
    EventList<> secretFound;

    // The cooldown belongs to the program, not to a level or a game: a secret found right
    // after another, even in the next level, waits out the rest of it. Harness runs start
    // clean with this.
    static void resetSecretAnnouncement();

private:
    World& m_world;
};

// One step of a sweep at (column, row), which must lie inside the grid, carrying `seen`
// from the cell before: after a seen cell, an open cell becomes seen and passes it on; a
// solid cell is never marked and passes on only its own seen bit, as does any cell reached
// without `seen`. Returns true when it marked a cell whose tile word in `tiles` is not
// present in the grid (a secret); cells beyond `tiles` hold none.
bool markCellSeen(PersistentTileMap& grid, std::int32_t row, bool& seen, std::int32_t column,
                  const TileLayerGrid& tiles);

} // namespace zor
