// The powder barrel heats while an activator is near, cools when none is, heats at a fixed
// rate once damaged, and blows at full heat; its glow follows its rumble.

#include "tests/game/simulation/behavior/instructions/InstructionFixture.h"

#include <gtest/gtest.h>

#include <vector>

namespace zor::test {
namespace {

// One heat tick per step.
constexpr float Tick = 0.2f;

enum class Activator { None, AtCentre, Passive };

TEST_F(InstructionTest, BarrelHeatTicks) {
    const struct {
        const char* name;
        Activator activator;
        bool damaged;
        float heatBefore;
        std::vector<float> heats;
    } cases[] = {
        {"cools", Activator::None, false, 0.5f, {0.36f, 0.22f, 0.08f, 0.0f, 0.0f}},
        {"heats", Activator::AtCentre, false, 0.0f, {0.16f, 0.32f, 0.48f, 0.64f, 0.8f, 0.96f, 1.0f}},
        {"ignores a player who activates nothing", Activator::Passive, false, 0.3f, {0.16f, 0.02f, 0.0f}},
        {"damaged, alone", Activator::None, true, 0.0f, {0.096f, 0.192f, 0.288f}},
        {"damaged, beside an activator", Activator::AtCentre, true, 0.0f, {0.096f, 0.192f, 0.288f}},
    };
    for (const auto& row : cases) {
        const fpVector2 at(300.0f + 100.0f * float(&row - cases), 200.0f);
        ActorObject& barrel = spawn("i_barrel", at);
        const float fullHitPoints = barrel.hitPoints;
        if (row.damaged) barrel.hitPoints = fullHitPoints - 1.0f;
        barrel.namedTimers["shake"] = row.heatBefore;
        player().activatesBarrels = row.activator == Activator::AtCentre;
        player().setPosition(row.activator == Activator::None ? fpVector2(700.0f, 320.0f) : at);
        for (std::size_t step = 0; step < row.heats.size(); ++step) {
            tick(barrel, Tick);
            const float heat = barrel.namedTimers.at("shake");
            EXPECT_NEAR(heat, row.heats[step], 1e-5f) << row.name << ", tick " << step + 1;
            EXPECT_FLOAT_EQ(barrel.rumbleStrength, 2.0f * heat) << row.name;
            // It blows only when the heat would pass 1.
            const bool blown = row.heats[step] == 1.0f;
            EXPECT_EQ(barrel.hitPoints == 0.0f, blown) << row.name << ", tick " << step + 1;
        }
    }
}

TEST_F(InstructionTest, ABarrelTicksFiveTimesASecondAndItsGlowFollowsTheRumbleSlowly) {
    ActorObject& barrel = spawn("i_barrel", {300.0f, 200.0f});
    player().activatesBarrels = true;
    player().setPosition({300.0f, 200.0f});
    // Heat and light strength after each 0.1 s step: the first tick falls on the first
    // step; the light starts dark and moves by at most 0.2 a step toward the rumble.
    const struct {
        float heat;
        float light;
    } steps[] = {{0.16f, 0.2f}, {0.16f, 0.32f}, {0.32f, 0.52f}, {0.32f, 0.64f}, {0.48f, 0.84f}};
    for (const auto& expected : steps) {
        tick(barrel, 0.1f);
        EXPECT_NEAR(barrel.namedTimers.at("shake"), expected.heat, 1e-5f) << "step " << &expected - steps + 1;
        EXPECT_NEAR(barrel.lightStrength, expected.light, 1e-5f) << "step " << &expected - steps + 1;
        EXPECT_FLOAT_EQ(barrel.lightScale, 0.8f + 0.15f * barrel.lightStrength);
    }
}

} // namespace
} // namespace zor::test
