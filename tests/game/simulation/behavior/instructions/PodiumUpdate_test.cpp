// The upgrade podium: the timed sequence from the player's first contact, what it grants
// and selects, an upgrade already owned, contact at the edges, and a podium naming no
// registered upgrade.

#include "tests/game/simulation/behavior/instructions/InstructionFixture.h"

#include "tests/support/common/LogCapture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace zor::test {
namespace {

constexpr float Step = 0.02f;
// The podium's box spans x 380 to 420 and y 280 to 320.
const fpVector2 PodiumAt(400.0f, 320.0f);

class PodiumTest : public InstructionTest {
protected:
    ActorObject& placePodium(const std::string& upgrade) {
        ActorObject& podium = spawn("i_podium", PodiumAt);
        podium.name = upgrade;
        return podium;
    }

    int stage(const ActorObject& podium) { return int(podium.namedValues.at("State")); }
};

// The player's copy of its definition with weapons and tools the lens unlocks.
void giveLensEquipment(ActorObject& player) {
    auto definition = std::make_shared<ActorDefinition>(player.definition());
    definition->weapons.resize(3);
    definition->weapons[1].requiredUpgrade = "i_lens";
    definition->weapons[2].requiredUpgrade = "i_lens";
    definition->tools.resize(3);
    definition->tools[0].requiredUpgrade = "other";
    definition->tools[1].requiredUpgrade = "i_lens";
    definition->tools[1].countedUpgrade = "i_lens_charges";
    definition->tools[2].requiredUpgrade = "i_lens";
    player.installDefinition(definition);
}

TEST_F(PodiumTest, TheSequenceLocksRefillsGrantsReleasesAndBringsTheMusicBack) {
    ActorObject& podium = placePodium("i_lens");
    ActorObject& miner = player();
    giveLensEquipment(miner);
    miner.hitPoints = 3.0f;
    miner.water = 0.0f;
    miner.physicalObject.velocity = {40.0f, 0.0f};
    miner.setPosition({410.0f, 320.0f});
    auto& music = harness.recordings().musicAttenuations;
    music.clear();

    tick(podium, Step);
    EXPECT_EQ(miner.busyFlags & BusyFlag::Podium, BusyFlag::Podium);
    EXPECT_EQ(miner.getPosition(), fpVector2(400.0f, 320.0f));
    // Drawn sliding from where it stood.
    EXPECT_EQ(miner.decayingOffset(), fpVector2(10.0f, 0.0f));
    EXPECT_EQ(miner.physicalObject.velocity, fpVector2());
    EXPECT_EQ(music, std::vector<float>{0.5f});

    // Seconds from the first contact to each stage's visible effect.
    float refilled = -1.0f, granted = -1.0f, released = -1.0f, musicBack = -1.0f;
    for (int step = 1; step < 250 && musicBack < 0.0f; ++step) {
        tick(podium, Step);
        const float time = float(step) * Step;
        if (refilled < 0.0f && miner.hitPoints == 10.0f) refilled = time;
        if (granted < 0.0f && itemCount("i_lens", world().progress.items) == 1) granted = time;
        if (released < 0.0f && (miner.busyFlags & BusyFlag::Podium) == 0) released = time;
        if (musicBack < 0.0f && music.back() == 1.0f) musicBack = time;
    }
    const struct {
        const char* stage;
        float seen;
        float expected;
    } timings[] = {{"refill", refilled, 0.5f}, {"grant", granted, 1.8f}, {"release", released, 2.8f},
                   {"music", musicBack, 3.8f}};
    // A stage ends on the step its delay reaches 0 and the next starts afresh from there, so
    // each stage may end up to one step later than the one before.
    for (const auto& row : timings) {
        const float lateness = float(&row - timings + 1) * Step * 1.01f;
        EXPECT_GE(row.seen, row.expected - Step * 0.01f) << row.stage;
        EXPECT_LE(row.seen, row.expected + lateness) << row.stage;
    }
    EXPECT_EQ(stage(podium), 5);
    EXPECT_TRUE(pending(podium, "done"));
    EXPECT_EQ(music, (std::vector<float>{0.5f, 1.0f}));

    EXPECT_EQ(miner.water, 5.0f);
    EXPECT_EQ(miner.lightTime, 120.0f);
    EXPECT_EQ(miner.weaponIndex, 1);
    EXPECT_EQ(miner.requestedWeapon, 1);
    EXPECT_EQ(miner.toolIndex, 1);
    EXPECT_EQ(itemCount("i_lens_charges", world().progress.items), 3);
    EXPECT_EQ(harness.seams().startingWith("GameRules.onItemGained i_lens").size(), 1u);
    const auto banners = harness.recordings().callsStartingWith("UserInterface.showBanner banner_upgrade banner_lens ");
    ASSERT_EQ(banners.size(), 1u);
    EXPECT_NE(banners[0].find(" 2.5"), std::string::npos) << banners[0];
    std::vector<std::string> cues;
    for (const SoundRequest& request : world().soundRequests) {
        cues.push_back(request.cue);
        EXPECT_EQ(request.position, PodiumAt);
    }
    EXPECT_EQ(cues, (std::vector<std::string>{"power_up", "player_pickup_research"}));

    // Over for good.
    for (int step = 0; step < 100; ++step) tick(podium, Step);
    EXPECT_EQ(itemCount("i_lens", world().progress.items), 1);
}

TEST_F(PodiumTest, AnUpgradeAlreadyOwnedDisablesThePodiumAtOnce) {
    world().progress.items.counts["i_lens"] = 1;
    ActorObject& podium = placePodium("i_lens");
    player().setPosition(PodiumAt);
    harness.recordings().musicAttenuations.clear();
    tick(podium, Step);
    EXPECT_EQ(stage(podium), 5);
    EXPECT_TRUE(pending(podium, "done"));
    EXPECT_EQ(player().busyFlags, 0u);
    EXPECT_TRUE(harness.recordings().musicAttenuations.empty());
}

TEST_F(PodiumTest, OnlyAnOverlapStartsTheSequenceNotTouchingEdges) {
    // The player's box is 20 x 34 around its foot point.
    const struct {
        fpVector2 at;
        bool starts;
    } cases[] = {{{370.0f, 320.0f}, false}, {{371.0f, 320.0f}, true}, {{430.0f, 320.0f}, false},
                 {{429.0f, 320.0f}, true},  {{400.0f, 280.0f}, false}, {{400.0f, 281.0f}, true}};
    for (const auto& row : cases) {
        ActorObject& podium = placePodium("i_lens");
        player().busyFlags = 0;
        player().setPosition(row.at);
        tick(podium, Step);
        EXPECT_EQ(stage(podium) == 1, row.starts) << row.at.x << ", " << row.at.y;
        world().removeEntity(&podium);
        world().processRemovals();
    }
}

TEST_F(PodiumTest, APodiumNamingNoRegisteredUpgradeStillCountsItButShowsNoBanner) {
    LogCapture log;
    ActorObject& podium = placePodium("i_unheard_of");
    player().setPosition(PodiumAt);
    for (int step = 0; step < 250; ++step) tick(podium, Step);
    EXPECT_EQ(stage(podium), 5);
    EXPECT_EQ(itemCount("i_unheard_of", world().progress.items), 1);
    EXPECT_TRUE(harness.recordings().callsStartingWith("UserInterface.showBanner").empty());
    EXPECT_EQ(player().busyFlags, 0u);
    ASSERT_EQ(log.warnings.size(), 1u);
    EXPECT_NE(log.warnings[0].find("'i_unheard_of'"), std::string::npos) << log.warnings[0];
}

TEST_F(PodiumTest, AToolCountingNoRegisteredUpgradeIsSelectedWithoutStartItems) {
    LogCapture log;
    auto definition = std::make_shared<ActorDefinition>(player().definition());
    definition->tools.resize(2);
    definition->tools[1].requiredUpgrade = "i_lens";
    definition->tools[1].countedUpgrade = "i_no_such_charges";
    player().installDefinition(definition);
    ActorObject& podium = placePodium("i_lens");
    player().setPosition(PodiumAt);
    for (int step = 0; step < 250; ++step) tick(podium, Step);
    EXPECT_EQ(player().toolIndex, 1);
    EXPECT_EQ(world().progress.items.counts.count("i_no_such_charges"), 0u);
    EXPECT_EQ(harness.recordings().callsStartingWith("UserInterface.showBanner banner_upgrade").size(), 1u);
    ASSERT_EQ(log.warnings.size(), 1u);
    EXPECT_NE(log.warnings[0].find("'i_no_such_charges'"), std::string::npos) << log.warnings[0];
}

} // namespace
} // namespace zor::test
