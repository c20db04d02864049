#pragma once
// The program's ports: what the game's presentation, scripts and interface bring, over the
// defaults of GamePorts for the rest.

#include "game/simulation/ports/ForwardingPorts.h"

namespace zor {

class ProgramPorts final : public ForwardingPorts {
public:
    ProgramPorts();

    std::shared_ptr<Visualizer> makeVisualizer(SystemComponents* components, IngameGraphics* graphics,
                                               World& world) const override;
    std::shared_ptr<Audiolizer> makeAudiolizer(World& world, GameAudio& audio) const override;
    std::unique_ptr<ScriptSimulator> makeScriptSimulator(SystemComponents* components, Simulator& simulator,
                                                         World& world) const override;
    void registerLogicNodeTypes() const override;
};

} // namespace zor
