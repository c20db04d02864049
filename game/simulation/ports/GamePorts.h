#pragma once
// What the host gives a Game to make its presentation, sound, scripts and interface: a
// factory of ports. This one makes the null ports and the game audio over the engine's
// sound service; the presentation, the scripts and the interface override what they
// bring, and tests override everything with recorders.
//
// The make functions run on the worker thread with the Game's construction (and on the
// main thread for a demo restart).

#include <memory>

namespace zor {

class Audiolizer;
class GameAudio;
class ScriptSimulator;
class Simulator;
class SystemComponents;
class UserInterface;
class Visualizer;
class World;

// The host's game-wide graphics (the light tile and the tile, decal and beam texture sets),
// lent to the presentation and the interface; defined with the presentation.
class IngameGraphics;

class GamePorts {
public:
    virtual ~GamePorts() = default;

    // Each port may keep the World and the other arguments for its whole life.
    virtual std::shared_ptr<GameAudio> makeGameAudio(World& world) const;
    virtual std::shared_ptr<UserInterface> makeUserInterface(IngameGraphics* graphics, SystemComponents* components,
                                                             World& world) const;
    virtual std::shared_ptr<Visualizer> makeVisualizer(SystemComponents* components, IngameGraphics* graphics,
                                                       World& world) const;
    // The Audiolizer plays through the Game's audio, which outlives it.
    virtual std::shared_ptr<Audiolizer> makeAudiolizer(World& world, GameAudio& audio) const;
    virtual std::unique_ptr<ScriptSimulator> makeScriptSimulator(SystemComponents* components, Simulator& simulator,
                                                                 World& world) const;

    // The script node types, registered once at start-up: the logic ones, then the actions.
    virtual void registerLogicNodeTypes() const {}
    virtual void registerActionNodeTypes() const {}
};

// The factory the program's in-game state uses; replaced by whoever brings real ports.
std::shared_ptr<const GamePorts>& programGamePorts();

} // namespace zor
