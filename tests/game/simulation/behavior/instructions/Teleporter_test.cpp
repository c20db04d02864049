// Teleporters: the offer, the pull-in and white fade over 0.8 s, the destinations a pad's
// name gives, the town's way back to the return point, a death on the way, and removal.

#include "tests/game/simulation/behavior/instructions/InstructionFixture.h"

#include "game/world/level/Level.h"

#include <gtest/gtest.h>

namespace zor::test {
namespace {

constexpr float Step = 0.02f;
// The pad's box spans x 380 to 420 and y 280 to 320.
const fpVector2 PadAt(400.0f, 320.0f);

class TeleporterTest : public InstructionTest {
protected:
    explicit TeleporterTest(const char* level = "fixture_deep") : InstructionTest(level) {}

    ActorObject& placePad(const char* actor, const std::string& name) {
        ActorObject& pad = spawn(actor, PadAt);
        pad.name = name;
        return pad;
    }

    // The player on the pad presses the activate button for one step.
    void press(ActorObject& pad) {
        player().setPosition({410.0f, 320.0f});
        player().activatePressed = true;
        tick(pad, Step);
        player().activatePressed = false;
    }

    // Steps until the teleport is over; false when it did not end within two seconds.
    bool finish(ActorObject& pad) {
        for (int step = 0; step < 100; ++step) {
            if (!(pad.npcBehaviorData().teleportTimer > 0.0f)) return true;
            tick(pad, Step);
        }
        return false;
    }

    Simulator& simulator() { return harness.simulator(); }
};

class TownTeleporterTest : public TeleporterTest {
protected:
    TownTeleporterTest() : TeleporterTest(Level::TownName) {}
};

TEST_F(TeleporterTest, AtFiftiethsThePlayerReachesThePadAt016AndTheLevelIsRequestedAt08) {
    ActorObject& pad = placePad("i_pad", "fixture_mine;[side]");
    press(pad);
    EXPECT_EQ(pad.npcBehaviorData().teleportTimer, 0.8f);
    EXPECT_EQ(player().busyFlags, BusyFlag::Teleport);
    EXPECT_EQ(pad.pendingSounds, std::vector<std::string>{"teleport"});

    int reached = 0;
    int requested = 0;
    std::uint8_t alpha = 0;
    for (int step = 1; step <= 60 && requested == 0; ++step) {
        tick(pad, Step);
        if (reached == 0 && player().getPosition() == PadAt) reached = step;
        if (requested == 0 && simulator().levelChangePending()) requested = step;
        if (requested == 0) {
            // Clear to opaque white over the teleport.
            EXPECT_GE(world().tintColor.alpha(), alpha) << "step " << step;
            alpha = world().tintColor.alpha();
        }
        if (step == 6) {
            EXPECT_GT((player().getPosition() - PadAt).length(), 0.5f);
        }
        if (step == 20) {
            EXPECT_NEAR(world().tintColor.alpha(), 127, 1);
        }
    }
    // The timer counts down in float steps of 0.02: the pull may close on the seventh step
    // and the last step of the 0.8 s may carry over into one more.
    EXPECT_GE(reached, 7);
    EXPECT_LE(reached, 8);
    EXPECT_GE(requested, 40);
    EXPECT_LE(requested, 41);
    EXPECT_GT(alpha, 240);
    EXPECT_EQ(player().busyFlags, 0u);
    EXPECT_EQ(simulator().requestedLevel(), "fixture_mine");
    EXPECT_EQ(simulator().requestedEntry(), "[side]");
}

TEST_F(TeleporterTest, APadsNameGivesTheLevelAndEntryAndAnUnnamedOneLeadsToTheTown) {
    const struct {
        const char* name;
        const char* level;
        const char* entry;
        bool storesReturnPoint;
    } cases[] = {
        {"fixture_mine;[side]", "fixture_mine", "[side]", false},
        {"fixture_cave", "fixture_cave", "", false},
        {"fixture_mine;a;b", "fixture_mine", "a;b", false},
        {"", Level::TownName, "[teleporter]", true},
    };
    for (const auto& row : cases) {
        world().clearReturnPoint();
        ActorObject& pad = placePad("i_pad", row.name);
        press(pad);
        ASSERT_TRUE(finish(pad)) << row.name;
        EXPECT_EQ(simulator().requestedLevel(), row.level) << row.name;
        EXPECT_EQ(simulator().requestedEntry(), row.entry) << row.name;
        EXPECT_EQ(simulator().requestedPosition(), fpVector2()) << row.name;
        EXPECT_EQ(world().progress.returnLevel, row.storesReturnPoint ? "fixture_deep" : "") << row.name;
        if (row.storesReturnPoint) {
            EXPECT_EQ(world().progress.returnPosition, PadAt);
        }
        world().removeEntity(&pad);
        world().processRemovals();
    }
}

TEST_F(TeleporterTest, APadOffersItselfOnlyToAPlayerOverlappingItWhileNoLevelChangeIsPending) {
    ActorObject& pad = placePad("i_pad", "fixture_mine");
    const auto offers = [&] {
        harness.recordings().calls.clear();
        tick(pad, Step);
        return harness.recordings().callsStartingWith("UserInterface.showIndicator activate").size();
    };
    player().setPosition({370.0f, 320.0f});  // touching the pad's left edge
    EXPECT_EQ(offers(), 0u);
    player().setPosition({375.0f, 320.0f});
    EXPECT_EQ(offers(), 1u);
    simulator().requestLevel("fixture_cave", "", fpVector2());
    EXPECT_EQ(offers(), 0u);
    player().busyFlags = BusyFlag::Script;
    simulator().requestLevel("", "", fpVector2());
    EXPECT_EQ(offers(), 0u);
}

TEST_F(TeleporterTest, ThePlayersDeathOnTheWayEndsTheTeleportWithoutALevelChange) {
    ActorObject& pad = placePad("i_pad", "fixture_mine");
    press(pad);
    for (int step = 0; step < 10; ++step) tick(pad, Step);
    player().hitPoints = 0.0f;
    tick(pad, Step);
    EXPECT_EQ(pad.npcBehaviorData().teleportTimer, 0.0f);
    for (int step = 0; step < 60; ++step) tick(pad, Step);
    EXPECT_FALSE(simulator().levelChangePending());
}

TEST_F(TeleporterTest, RemovingAPadEndsTheFadeAndForgetsTheReturnPointItMarks) {
    const struct {
        fpVector2 returnPosition;
        bool forgotten;
    } cases[] = {{PadAt, true}, {{PadAt.x + 0.5f, PadAt.y}, false}};
    for (const auto& row : cases) {
        world().progress.returnLevel = "fixture_mine";
        world().progress.returnPosition = row.returnPosition;
        world().tintColor = colorWhite();
        player().busyFlags = BusyFlag::Teleport | BusyFlag::Script;
        ActorObject& pad = placePad("i_remove_pad", "");
        tick(pad, Step);
        EXPECT_EQ(world().tintColor.value, 0x00FFFFFFu);
        EXPECT_EQ(player().busyFlags, BusyFlag::Script);
        EXPECT_EQ(pad.hitPoints, 0.0f);
        EXPECT_EQ(world().progress.returnLevel.empty(), row.forgotten);
    }
}

TEST_F(TownTeleporterTest, TheTownPadLeadsBackToTheReturnPoint) {
    world().progress.returnLevel = "fixture_mine";
    world().progress.returnPosition = {300.0f, 320.0f};
    ActorObject& pad = placePad("i_town_pad", "");
    pad.visible = false;
    press(pad);
    EXPECT_TRUE(pad.visible);
    ASSERT_TRUE(finish(pad));
    EXPECT_EQ(simulator().requestedLevel(), "fixture_mine");
    EXPECT_EQ(simulator().requestedEntry(), "");
    EXPECT_EQ(simulator().requestedPosition(), fpVector2(300.0f, 320.0f));
}

TEST_F(TownTeleporterTest, WithoutAReturnPointTheTownPadHidesAndOffersNothing) {
    world().clearReturnPoint();
    ActorObject& pad = placePad("i_town_pad", "");
    harness.recordings().calls.clear();
    player().setPosition({410.0f, 320.0f});
    tick(pad, Step);
    EXPECT_FALSE(pad.visible);
    press(pad);
    for (int step = 0; step < 60; ++step) tick(pad, Step);
    EXPECT_EQ(pad.npcBehaviorData().teleportTimer, 0.0f);
    EXPECT_EQ(player().busyFlags, 0u);
    EXPECT_EQ(world().tintColor.alpha(), 0);
    EXPECT_TRUE(harness.recordings().callsStartingWith("UserInterface.showIndicator").empty());
}

} // namespace
} // namespace zor::test
