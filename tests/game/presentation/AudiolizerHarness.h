#pragma once
// Harness games that play through the real Audiolizer over the recording game audio.

#include "tests/support/game/GameHarness.h"

#include "game/presentation/Audiolizer.h"
#include "game/simulation/Game.h"
#include "game/simulation/ports/ForwardingPorts.h"

#include <memory>

namespace zor::test {

class AudiolizerPorts final : public ForwardingPorts {
public:
    using ForwardingPorts::ForwardingPorts;

    std::shared_ptr<Audiolizer> makeAudiolizer(World& world, GameAudio& audio) const override {
        return std::make_shared<presentation::Audiolizer>(world, audio);
    }
};

inline HarnessOptions withAudiolizer(HarnessOptions options = HarnessOptions()) {
    options.ports = [](std::shared_ptr<const GamePorts> recorders) {
        return std::make_shared<AudiolizerPorts>(std::move(recorders));
    };
    return options;
}

inline presentation::Audiolizer& audiolizerOf(GameHarness& harness) {
    return static_cast<presentation::Audiolizer&>(harness.game().audiolizer());
}

} // namespace zor::test
