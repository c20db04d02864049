#include "tests/support/script/ScriptHarnessPorts.h"

#include "game/script/LevelScriptSimulator.h"
#include "game/script/LogicNodes.h"
#include "game/simulation/ports/ForwardingPorts.h"

namespace zor::test {

namespace {

class LevelScriptPorts final : public ForwardingPorts {
public:
    using ForwardingPorts::ForwardingPorts;

    std::unique_ptr<ScriptSimulator> makeScriptSimulator(SystemComponents*, Simulator&, World& world) const override {
        return std::make_unique<LevelScriptSimulator>(world);
    }
};

} // namespace

std::shared_ptr<const GamePorts> withLevelScripts(std::shared_ptr<const GamePorts> recorders) {
    registerLogicScriptNodes();
    return std::make_shared<LevelScriptPorts>(std::move(recorders));
}

} // namespace zor::test
