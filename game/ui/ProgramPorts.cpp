#include "game/ui/ProgramPorts.h"

#include "game/presentation/Audiolizer.h"
#include "game/script/LevelScriptSimulator.h"
#include "game/script/LogicNodes.h"
#include "game/ui/PlainView.h"

namespace zor {

ProgramPorts::ProgramPorts() : ForwardingPorts(std::make_shared<GamePorts>()) {}

std::shared_ptr<Visualizer> ProgramPorts::makeVisualizer(SystemComponents* components, IngameGraphics*,
                                                         World& world) const {
    return std::make_shared<PlainView>(components, world);
}

std::shared_ptr<Audiolizer> ProgramPorts::makeAudiolizer(World& world, GameAudio& audio) const {
    return std::make_shared<presentation::Audiolizer>(world, audio);
}

std::unique_ptr<ScriptSimulator> ProgramPorts::makeScriptSimulator(SystemComponents*, Simulator&, World& world) const {
    return std::make_unique<LevelScriptSimulator>(world);
}

void ProgramPorts::registerLogicNodeTypes() const { registerLogicScriptNodes(); }

} // namespace zor
