#pragma once
// The light of the level: which cells the player has seen, and the secrets the light
// reveals. Runs after the Simulator in each unpaused step. The seen cells arrive with the
// level's tile layers; until then a step reveals nothing.

#include "Framework/core/events/EventList.h"

namespace zor {

class World;
struct UpdateRecord;

class LightSimulator {
public:
    explicit LightSimulator(World&) {}
    LightSimulator(const LightSimulator&) = delete;
    LightSimulator& operator=(const LightSimulator&) = delete;

    void update(const UpdateRecord&) {}

    // Fired when the light reveals a secret cell; the Game connects the Simulator to it.
    EventList<> secretFound;
};

} // namespace zor
