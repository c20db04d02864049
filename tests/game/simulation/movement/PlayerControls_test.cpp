// The player's buttons turned into its intent: diagonals, the aim that follows the facing,
// the locks, weapon and tool cycling, and the activate request.

#include "game/simulation/movement/PlayerControls.h"

#include "tests/support/game/FixtureDefinitions.h"

#include "game/definitions/ActorDefinition.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"

#include "Framework/core/math/Randomizer.h"
#include "Framework/input/InputState.h"
#include "Framework/input/KeyNames.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace zor::test {
namespace {

const char* const ArmedActors = R"(
  <Actor>
    <Name>c_armed</Name>
    <CollisionBox>-10;-30;20;30</CollisionBox>
    <CollisionGroup>player</CollisionGroup>
    <Weapons>
      <Weapon><Name>fists</Name></Weapon>
      <Weapon><Name>pick</Name></Weapon>
      <Weapon><Name>drill</Name><RequireUpgrade>drill_kit</RequireUpgrade></Weapon>
      <Weapon><Name>sling</Name></Weapon>
    </Weapons>
    <Tools><Tool><Name>lamp</Name></Tool><Tool><Name>ladder</Name></Tool></Tools>
  </Actor>
  <Actor><Name>c_bare</Name><CollisionBox>-10;-30;20;30</CollisionBox></Actor>)";

// Scripted buttons: each step the listed buttons go down (pressed and held) and the held
// ones stay held.
class Buttons {
public:
    void step(const std::vector<std::string>& pressed, const std::vector<std::string>& released = {}) {
        m_input.update(1.0f / 60.0f);
        for (const std::string& name : released) {
            m_input.setKeyReleased(key(name), true);
            m_input.setKeyHeld(key(name), false);
        }
        for (const std::string& name : pressed) {
            m_input.setKeyPressed(key(name), true);
            m_input.setKeyHeld(key(name), true);
        }
    }
    const InputState& input() const { return m_input; }

private:
    KeyCode key(const std::string& button) {
        const auto found = m_keys.find(button);
        if (found != m_keys.end()) return found->second;
        const std::string name = std::string("Key.") + char('A' + m_keys.size());
        m_input.bind(button, name);
        return m_keys.emplace(button, *findKeyCode(name)).first->second;
    }

    InputState m_input;
    std::map<std::string, KeyCode> m_keys;
};

class PlayerControls : public ::testing::Test {
protected:
    void SetUp() override {
        static const bool loaded = [] {
            loadFixtureDefinitions();
            addDefinitions(actorRegistry(), "control actors", ArmedActors);
            return true;
        }();
        (void)loaded;
        player = world.spawnActor("c_armed", {100.0f, 100.0f}, {1.0f, 0.0f});
        ASSERT_NE(player, nullptr);
    }
    bool read() { return readPlayerControls(world, *player, buttons.input()); }
    std::size_t cues(const std::string& cue) const {
        std::size_t n = 0;
        for (const SoundRequest& request : world.soundRequests) n += request.cue == cue ? 1 : 0;
        return n;
    }

    Randomizer random = Randomizer::fromSeed(2);
    World world{random};
    ActorObject* player = nullptr;
    Buttons buttons;
};

TEST_F(PlayerControls, ADiagonalAimsAlongTheAxisWhoseButtonChangedLast) {
    struct Step {
        std::vector<std::string> pressed;
        std::vector<std::string> released;
        iVector2 aim;
        fpVector2 move;
    };
    const std::vector<Step> steps = {
        {{"move_right"}, {}, {1, 0}, {1.0f, 0.0f}},
        {{"move_down"}, {}, {0, 1}, {1.0f, 1.0f}},          // right held, down pressed: down
        {{}, {}, {0, 1}, {1.0f, 1.0f}},                     // both held, nothing new: kept
        {{}, {"move_right"}, {0, 1}, {0.0f, 1.0f}},
        {{"move_right"}, {}, {1, 0}, {1.0f, 1.0f}},          // down held, right pressed: right
        {{"move_left"}, {"move_right"}, {-1, 0}, {-1.0f, 1.0f}},
        {{"move_up"}, {}, {-1, 0}, {-1.0f, 0.0f}},           // up and down cancel out
        {{}, {"move_left", "move_up", "move_down"}, {1, 0}, {0.0f, 0.0f}},  // none: the facing
    };
    for (std::size_t i = 0; i < steps.size(); ++i) {
        buttons.step(steps[i].pressed, steps[i].released);
        EXPECT_TRUE(read());
        EXPECT_EQ(player->aimDirection.x, steps[i].aim.x) << "step " << i;
        EXPECT_EQ(player->aimDirection.y, steps[i].aim.y) << "step " << i;
        EXPECT_EQ(player->moveVector, steps[i].move) << "step " << i;
    }
    player->facing = {-1.0f, 0.0f};
    buttons.step({});
    read();
    EXPECT_EQ(player->aimDirection.x, -1);
    EXPECT_EQ(player->aimDirection.y, 0);
}

TEST_F(PlayerControls, ALockedOrKnockedBackPlayerRequestsNothingAndAimsWhereItFaces) {
    struct Lock {
        std::uint32_t busy;
        float knockback;
    };
    for (const Lock& lock : {Lock{BusyFlag::Script, 0.0f}, Lock{BusyFlag::Screen, 0.0f}, Lock{BusyFlag::Podium, 0.0f},
                             Lock{BusyFlag::CameraPan, 0.0f}, Lock{BusyFlag::Teleport, 0.0f},
                             Lock{BusyFlag::Sale, 0.0f}, Lock{0, 0.2f}}) {
        player->jumpPressed = false;
        player->attackPressed = false;
        player->moveVector = {1.0f, 0.0f};
        player->runHeld = true;
        player->aimDirection = {0, 1};
        player->facing = {-1.0f, 0.0f};
        player->busyFlags = lock.busy;
        player->knockbackTime = lock.knockback;
        buttons.step({"jump", "attack", "move_down", "activate"});
        EXPECT_FALSE(read()) << "busy " << lock.busy << " knockback " << lock.knockback;
        EXPECT_FALSE(player->jumpPressed) << "busy " << lock.busy;
        EXPECT_FALSE(player->attackPressed) << "busy " << lock.busy;
        EXPECT_FALSE(player->activatePressed) << "busy " << lock.busy;
        EXPECT_EQ(player->moveVector, fpVector2(1.0f, 0.0f)) << "kept from before the lock";
        EXPECT_TRUE(player->runHeld) << "kept from before the lock";
        EXPECT_EQ(player->aimDirection.x, -1) << "busy " << lock.busy;
        EXPECT_EQ(player->aimDirection.y, 0) << "busy " << lock.busy;
        buttons.step({}, {"jump", "attack", "move_down", "activate"});
    }
}

TEST_F(PlayerControls, CyclingWeaponsPassesWeaponZeroAndThoseWhoseUpgradeIsMissing) {
    player->requestedWeapon = 1;
    std::vector<std::int32_t> chosen;
    for (int i = 0; i < 3; ++i) {
        buttons.step({"cycle_weapon"});
        read();
        chosen.push_back(player->requestedWeapon);
        buttons.step({}, {"cycle_weapon"});
        read();
    }
    EXPECT_EQ(chosen, (std::vector<std::int32_t>{3, 1, 3}));
    EXPECT_EQ(cues("menu_select"), 3u);

    world.progress.items.counts["drill_kit"] = 1;
    buttons.step({"cycle_weapon"});
    read();
    EXPECT_EQ(player->requestedWeapon, 1);
    buttons.step({"cycle_weapon"}, {"cycle_weapon"});
    buttons.step({"cycle_weapon"});
    read();
    EXPECT_EQ(player->requestedWeapon, 2) << "unlocked";

    buttons.step({"weapon_3", "weapon_1"}, {"cycle_weapon"});
    read();
    EXPECT_EQ(player->requestedWeapon, 3) << "the last tested of the number keys wins";
}

TEST_F(PlayerControls, CyclingToolsWrapsAndAnActorWithoutToolsCyclesNothing) {
    player->requestedToolIndex = 1;
    buttons.step({"cycle_tool"});
    read();
    EXPECT_EQ(player->requestedToolIndex, 0);
    EXPECT_EQ(cues("menu_select"), 1u);

    ActorObject& bare = *world.spawnActor("c_bare", {0.0f, 0.0f}, {1.0f, 0.0f});
    bare.requestedToolIndex = 0;
    buttons.step({}, {"cycle_tool"});
    buttons.step({"cycle_tool"});
    EXPECT_TRUE(readPlayerControls(world, bare, buttons.input()));
    EXPECT_EQ(bare.requestedToolIndex, 0);
    EXPECT_EQ(cues("menu_select"), 1u);
}

TEST_F(PlayerControls, ActivateIsLatchedForOneStepUnlessThePlayerRunsAtSpeed) {
    struct Case {
        bool running;
        float speed;
        bool latched;
    };
    for (const Case& c : {Case{false, 0.0f, true}, Case{true, 0.0f, true}, Case{false, 120.0f, true},
                          Case{true, 120.0f, false}}) {
        player->running = c.running;
        player->physicalObject.velocity = {c.speed, 0.0f};
        buttons.step({"activate"});
        read();
        EXPECT_EQ(player->activatePressed, c.latched) << "running " << c.running << " speed " << c.speed;
        finishPlayerControls(*player);
        EXPECT_FALSE(player->activatePressed);
        buttons.step({}, {"activate"});
        read();
        EXPECT_FALSE(player->activatePressed);
    }
}

TEST_F(PlayerControls, AfterAWallJumpThePlayerCannotPushBackTowardTheWallForAMoment) {
    player->wallJumpLockDirection = -1;  // the wall is on the left
    player->wallJumpLockTime = 0.05f;
    buttons.step({"move_left"});
    read();
    EXPECT_EQ(player->moveVector.x, 0.0f);
    buttons.step({"move_right"}, {"move_left"});
    read();
    EXPECT_EQ(player->moveVector.x, 1.0f);
    player->wallJumpLockTime = 0.0f;
    buttons.step({"move_left"}, {"move_right"});
    read();
    EXPECT_EQ(player->moveVector.x, -1.0f);
}

} // namespace
} // namespace zor::test
