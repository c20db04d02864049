#pragma once
// The player's tools: choosing a usable one, and using it to place a building (lamp,
// ladder, jump plate, teleporter) or throw dynamite. A tool's item is spent only when the
// use succeeds; a refused tool with an item cue "building_not_possible" and flashes the
// tool slot.
//
// Main thread, inside the player step.

#include <cstdint>

namespace zor {

class ActorObject;
class GameObjectSimulator;
class World;

// When the player asked for another tool: the first usable tool from the requested one on
// becomes current; with none usable the request falls back to the current tool.
void chooseTool(const World& world, ActorObject& player);

// Uses the player's tool at `toolIndex`; true when it was placed or thrown. An index
// outside the tools, or a tool whose required upgrade is missing, does nothing.
bool useTool(GameObjectSimulator& objects, std::int32_t toolIndex);

} // namespace zor
