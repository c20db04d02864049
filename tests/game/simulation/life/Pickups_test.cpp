// Resources in the level and what the player gets from them: refills, upgrades, value,
// orbs and loot bags, the pull toward the player, time-outs and the floating texts.

#include "tests/game/simulation/life/LifeFixture.h"

#include "game/simulation/GameSession.h"
#include "game/world/entity/WorldText.h"

#include "Framework/core/math/Curve.h"

#include <algorithm>
#include <cmath>

namespace zor::test {
namespace {

class PickupTest : public LifeTest {
protected:
    void SetUp() override { startIn("fixture_deep", true); }

    // A resource of the definition lying well away from the player.
    ResourceObject& spawn(const std::string& name) { return *world().spawnResource(name, {400, 200}, -1); }

    std::vector<WorldText*> texts() {
        std::vector<WorldText*> found;
        for (const auto& [id, text] : world().worldTexts())
            if (text->alive()) found.push_back(text);
        return found;
    }
};

TEST_F(PickupTest, ARefillRaisesItsValueUpToTheMaximumAndFlashesItsBarWhenItGainsNothing) {
    struct Case {
        const char* resource;
        float hitPoints, water, lightTime;  // before
        float lightTimeMaximum;             // the player's LightTime
        float expectedHitPoints, expectedWater, expectedLightTime;
        std::vector<std::string> flashes;
    };
    const Case cases[] = {
        {"moss_tuft", 10, 0, 0, 120, 10, 0, 0, {"UserInterface.flashStatusBar 0"}},  // full health
        {"moss_tuft", 9.5f, 0, 0, 120, 10, 0, 0, {}},
        {"water_skin", 10, 4.5f, 0, 120, 10, 5, 0, {}},
        {"water_skin", 10, 5, 0, 120, 10, 5, 0, {"UserInterface.flashStatusBar 1"}},
        {"oil_flask", 10, 0, 30, 120, 10, 0, 90, {}},
        {"oil_flask", 10, 0, 120, 120, 10, 0, 120, {"UserInterface.flashStatusBar 2"}},
        // A lamp without light time gains 0, never a division by zero.
        {"oil_flask", 10, 0, 0, 0, 10, 0, 0, {"UserInterface.flashStatusBar 2"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.resource) + " " + std::to_string(c.lightTimeMaximum));
        auto definition = std::make_shared<ActorDefinition>(player().definition());
        definition->lightTime = c.lightTimeMaximum;
        player().installDefinition(definition);
        player().hitPoints = c.hitPoints;
        player().water = c.water;
        player().lightTime = c.lightTime;
        harness->recordings().calls.clear();
        ResourceObject& refill = spawn(c.resource);

        objects().pickUpResource(player(), refill);
        EXPECT_FLOAT_EQ(player().hitPoints, c.expectedHitPoints);
        EXPECT_FLOAT_EQ(player().water, c.expectedWater);
        EXPECT_FLOAT_EQ(player().lightTime, c.expectedLightTime);
        EXPECT_EQ(uiCalls("flashStatusBar"), c.flashes);
        // Used up whether or not it helped.
        EXPECT_FALSE(refill.alive());
    }
}

TEST_F(PickupTest, ARefillWithAPickupIconShowsItAsASmallPulsingText) {
    ResourceObject& refill = spawn("moss_tuft");
    objects().pickUpResource(player(), refill);
    const std::vector<WorldText*> shown = texts();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0]->iconSprite, "icon_heart");
    EXPECT_EQ(shown[0]->text, "");
    EXPECT_EQ(shown[0]->getPosition(), refill.center());
    EXPECT_EQ(shown[0]->scale, 0.5f);
    EXPECT_EQ(shown[0]->pulseDuration, 0.5f);
    EXPECT_EQ(shown[0]->fadeTime, 0.7f);
    EXPECT_FLOAT_EQ(shown[0]->remainingTime, 0.8f);
    EXPECT_TRUE(shown[0]->timed);
    EXPECT_EQ(shown[0]->velocity, fpVector2());
}

TEST_F(PickupTest, AValuedResourceGoesIntoTheInventoryWithSoundEffectPanelAndARisingText) {
    int changes = 0;
    EventConnection connection = world().inventoryChanged.connect(&changes, [](int* count) { ++*count; });
    ResourceObject& ore = spawn("shiny");
    const std::size_t effectsBefore = world().effects().size();
    objects().pickUpResource(player(), ore);

    EXPECT_EQ(progress().inventory.countOf("shiny"), 1);
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(ore.alive());
    EXPECT_EQ(player().pendingSounds, (std::vector<std::string>{"chime"}));
    EXPECT_EQ(world().effects().size(), effectsBefore + 1);
    EXPECT_EQ(uiCalls("showInventoryPanel"), (std::vector<std::string>{"UserInterface.showInventoryPanel 3"}));
    const std::vector<WorldText*> shown = texts();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0]->velocity, fpVector2(0, -20));
    EXPECT_FLOAT_EQ(shown[0]->remainingTime, 1.8f);
}

TEST_F(PickupTest, AnOrbIsAlwaysTakenAndCountsForTheProgressAndTheSlotTotal) {
    // The pouch holds nothing at all, so the ember's value cannot be taken.
    progress().inventory.capacity = 0;
    const std::int32_t slotOrbs = harness->session()->currentSlot().totalOrbs;
    ResourceObject& ember = spawn("ember");
    objects().pickUpResource(player(), ember);
    EXPECT_FALSE(ember.alive());
    EXPECT_EQ(progress().orbs, 1);
    EXPECT_EQ(harness->session()->currentSlot().totalOrbs, slotOrbs + 1);
    EXPECT_EQ(progress().inventory.countOf("ember"), 0);
    EXPECT_EQ(uiCalls("spawnScreenEffect").size(), 1u);
    // Nothing stays behind, so nothing is said about a full pouch.
    EXPECT_TRUE(texts().empty());
}

TEST_F(PickupTest, AnUpgradeTokenRaisesItsCountAndAnnouncesIt) {
    std::vector<std::string> gained;
    EventConnection connection = world().itemGained.connect(
        &gained, [](std::vector<std::string>* names, const std::string& name) { names->push_back(name); });
    for (int i = 0; i < 2; ++i) objects().pickUpResource(player(), spawn("lantern_token"));
    EXPECT_EQ(itemCount("lantern", progress().items), 2);
    EXPECT_EQ(gained, (std::vector<std::string>{"lantern", "lantern"}));
}

TEST_F(PickupTest, ALootBagThatFitsInPartGivesWhatFitsAndSaysSoOnce) {
    progress().inventory.capacity = 2;
    progress().inventory.add("keepsake", 1);
    ResourceObject& bag = spawn("loot_bag");
    bag.contents.add("nugget", 7);  // one stack of 5 and one of 2
    bag.contents.capacity = 0;

    objects().pickUpResource(player(), bag);
    EXPECT_EQ(progress().inventory.countOf("nugget"), 5);
    ASSERT_EQ(bag.contents.slots.size(), 2u);
    EXPECT_EQ(bag.contents.slots[0].count, 0);
    EXPECT_EQ(bag.contents.slots[1].count, 2);
    EXPECT_TRUE(bag.alive());
    EXPECT_TRUE(bag.inventoryFullShown);
    std::vector<std::string> shownTexts;
    for (const WorldText* text : texts()) shownTexts.push_back(text->text);
    // The rising value text and the message over the player (the line id without a language).
    EXPECT_EQ(shownTexts.size(), 2u);
    EXPECT_EQ(std::count(shownTexts.begin(), shownTexts.end(), "inventory_full"), 1);

    // Touched again once the cooldown is over: nothing fits, nothing more is said.
    objects().messageCooldown = 0.0f;
    objects().pickUpResource(player(), bag);
    EXPECT_EQ(texts().size(), 2u);
    EXPECT_TRUE(bag.alive());

    // Room again: the rest comes out and the bag goes.
    progress().inventory.clearSlot(0);
    objects().pickUpResource(player(), bag);
    EXPECT_EQ(progress().inventory.countOf("nugget"), 7);
    EXPECT_FALSE(bag.alive());
}

TEST_F(PickupTest, AMessageWithinTheCooldownIsDropped) {
    objects().showPlayerMessage("inventory_full");
    objects().showPlayerMessage("light_time_depleted");
    std::vector<WorldText*> shown = texts();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0]->text, "inventory_full");
    const fpRect body = player().physicalObject.bodies().front().getBounds();
    EXPECT_EQ(shown[0]->getPosition(), fpVector2(body.x + body.w / 2.0f, body.y - 10.0f));
    EXPECT_EQ(shown[0]->velocity.y, -20.0f);
    EXPECT_EQ(objects().messageCooldown, 1.0f);

    objects().messageCooldown = 0.0f;
    objects().showPlayerMessage("light_time_depleted");
    EXPECT_EQ(texts().size(), 2u);
}

TEST_F(PickupTest, AMessageWithoutAPlayerIsDropped) {
    world().removeEntity(&player());
    world().processRemovals();
    objects().showPlayerMessage("inventory_full");
    EXPECT_TRUE(texts().empty());
    EXPECT_EQ(objects().messageCooldown, 0.0f);
}

// The squared distance is compared with Distance (10000 reaches 100 px); the pull grows
// toward the player along a quadratic ease.
TEST_F(PickupTest, AnAttractedResourceIsPulledOnlyWithinItsSquaredDistance) {
    struct Case {
        float dx, dy;
        float expectedSpeed;  // along the way to the player
    };
    const float half = 100.0f * evaluateCurve(CurveType::SmoothQuadratic, 0.75f);
    const Case cases[] = {
        {100, 0, 0}, {0, -100.5f, 0}, {50, 0, half}, {0, -50, half}, {-30, -40, half},
        // On top of the player there is no direction: no pull rather than an undefined one.
        {0, 0, 0},
    };
    const fpVector2 at = player().getPosition();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.dx) + ", " + std::to_string(c.dy));
        ResourceObject* stone = world().spawnResource("lodestone", at + fpVector2(c.dx, c.dy), -1);
        harness->runSteps(1);
        const fpVector2 impulse = stone->physicalObject.impulse;
        EXPECT_TRUE(std::isfinite(impulse.x) && std::isfinite(impulse.y));
        EXPECT_NEAR(impulse.length(), c.expectedSpeed, 0.01f);
        if (c.expectedSpeed > 0.0f) {
            // Toward the player.
            EXPECT_NEAR(impulse.x * c.dx + impulse.y * c.dy, -impulse.length() * fpVector2(c.dx, c.dy).length(), 0.01f);
        }
        world().removeEntity(stone);
    }
}

TEST_F(PickupTest, AResourceWithALifeTimeStaysUpdatedFarAwayUntilItRunsOut) {
    // Far beyond the view around the player.
    ResourceObject* spark = world().spawnResource("fading_spark", {790, 20}, -1);
    world().camera.setTopLeft({-2000, -2000});
    ResourceObject* ore = world().spawnResource("ore", {780, 20}, -1);
    objects().forceUpdate(*spark);
    harness->runSteps(int(0.4f / Step));
    EXPECT_TRUE(spark->alive());
    EXPECT_GE(harness->seams().count("ObjectLifeRules.updateResource fading_spark"), std::size_t(0.4f / Step));
    harness->runSteps(int(0.2f / Step));
    EXPECT_TRUE(resources("fading_spark").empty());
    // Without a life time it lies there for good.
    EXPECT_TRUE(ore->alive());
}

} // namespace
} // namespace zor::test
