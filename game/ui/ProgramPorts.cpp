#include "game/ui/ProgramPorts.h"

#include "game/ui/PlainView.h"

#include "game/presentation/Audiolizer.h"

namespace zor {

ProgramPorts::ProgramPorts() : ForwardingPorts(std::make_shared<GamePorts>()) {}

std::shared_ptr<Visualizer> ProgramPorts::makeVisualizer(SystemComponents* components, Preloader*,
                                                         World& world) const {
    return std::make_shared<PlainView>(components, world);
}

std::shared_ptr<Audiolizer> ProgramPorts::makeAudiolizer(World& world, GameAudio& audio) const {
    return std::make_shared<presentation::Audiolizer>(world, audio);
}

} // namespace zor
