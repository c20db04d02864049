// The actors of the shipped game data set up as the game sets them up, and between them
// take every branch of set-up.

#include "game/world/entity/ActorObject.h"
#include "game/world/entity/GameObjectSetup.h"

#include "game/definitions/MachineTables.h"

#include "Framework/core/io/Files.h"
#include "Framework/core/math/Randomizer.h"
#include "tests/support/common/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace zor {
namespace {

// 0 when every actor gets the part of its animation and the branches are all taken; the
// reason on the error output otherwise.
int setUpEveryShippedActor() {
    test::TempFolder user;
    test::ScopedEnv userFolder("ZOR_USER_DIR", user.path().string());
    initFileSystem("BundlePC");
    animationRegistry().loadFile(kAnimationsFile);
    buildAnimationMachines();
    actorRegistry().loadFile("Definitions/actors.xml");

    Randomizer random = Randomizer::fromSeed(3);
    bool turned = false, turnedAndRounded = false, cannon = false, legs = false, heartbeat = false;
    for (const auto& definition : actorRegistry().definitions()) {
        ActorObject actor(definition);
        actor.reset();
        actor.facing = {0.0f, 1.0f};
        setupGameObject(actor, random);
        if (!definition->animation.empty() && actor.animationParts.count(definition->animationState) == 0) {
            std::fprintf(stderr, "%s: no part for its animation\n", definition->name.c_str());
            return 1;
        }
        const bool turnedBox = definition->canRotate && actor.physicalObject.getBounds() != definition->collisionBox;
        turned = turned || turnedBox;
        turnedAndRounded = turnedAndRounded || (turnedBox && definition->roundPosition);
        cannon = cannon || !definition->cannonName.empty();
        legs = legs || actor.animationParts.count("legs") == 1;
        heartbeat = heartbeat || actor.heartbeatCountdown > 0.0f;
    }
    if (turned && turnedAndRounded && cannon && legs && heartbeat) return 0;
    std::fprintf(stderr, "turned %d, turned and rounded %d, cannon %d, legs %d, heartbeat %d\n", turned,
                 turnedAndRounded, cannon, legs, heartbeat);
    return 2;
}

TEST(ShippedActorsDeathTest, EveryActorSetsUpAndTogetherTheyCoverEveryBranch) {
    // A fresh process: the shipped records, not the fixture's, fill the global tables.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::exit(setUpEveryShippedActor()), ::testing::ExitedWithCode(0), "");
}

} // namespace
} // namespace zor
