#include "tests/game/world/physics/PhysicsFixtures.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace zor::test {
namespace {

constexpr std::uint32_t Items = CollisionGroup::Items;
constexpr std::uint32_t Rocks = CollisionGroup::Rocks;
constexpr std::uint32_t Trigger = CollisionGroup::Trigger;

// An open level of 800 x 400 pixels with a mover at (100, 100), 20 x 20, colliding with rocks
// and triggers; the callback records the names of the objects it meets.
class PhysicsSweepTest : public ::testing::Test {
protected:
    PhysicsSweepTest() : level(tileMapFromRows(std::vector<std::string>(10, std::string(20, '.')))) {
        mover = &level.addBox({100, 100, 20, 20}, Items, Rocks | Trigger | CollisionGroup::Bounds);
        level.physics.contactCallback = [this](PhysicalCollision& contact) {
            met.push_back(names[contact.otherBody->owner]);
            if (onContact) onContact(contact);
        };
    }

    PhysicalObject& add(const std::string& name, const fpRect& rect, std::uint32_t group = Rocks,
                        bool sensor = false) {
        PhysicalObject& object = level.addBox(rect, group, 0, true, sensor);
        names[&object] = name;
        return object;
    }

    // Sweeps the mover towards the target with callbacks.
    bool sweep(const fpVector2& target, bool suppressCallbacks = false, const PhysicalObject* ignored = nullptr) {
        return level.physics.sweep(*mover, target, reached, normal, ignored, suppressCallbacks, respond, counters);
    }

    PhysicsLevel level;
    PhysicalObject* mover;
    std::map<const PhysicalObject*, std::string> names;
    std::vector<std::string> met;
    std::function<void(PhysicalCollision&)> onContact;
    fpVector2 reached;
    fpVector2 normal;
    bool respond = false;
    SweepCounters counters;
};

TEST_F(PhysicsSweepTest, AFreeMoveReachesItsTarget) {
    EXPECT_TRUE(sweep({150, 120}));
    EXPECT_EQ(reached, fpVector2(150, 120));
    EXPECT_TRUE(respond);
    EXPECT_TRUE(met.empty());
    EXPECT_EQ(mover->position(), fpVector2(100, 100));  // a sweep never moves the object
}

TEST_F(PhysicsSweepTest, TheContactRecord) {
    PhysicalObject& rock = add("rock", {150, 90, 40, 40});
    const PhysicalBody* seenBody = nullptr;
    const PhysicalBody* seenOther = nullptr;
    PhysicalCollision seen;
    onContact = [&](PhysicalCollision& contact) {
        seen = contact;
        seenBody = contact.body;
        seenOther = contact.otherBody;
    };
    EXPECT_FALSE(sweep({160, 100}));
    EXPECT_EQ(seenBody, &mover->bodies().front());
    EXPECT_EQ(seenOther, &rock.bodies().front());
    EXPECT_EQ(seen.target, fpVector2(160, 100));
    EXPECT_NEAR(seen.position.x, 129.999f, 1e-4f);
    EXPECT_EQ(seen.position.y, 100.0f);
    EXPECT_EQ(seen.normal, fpVector2(-1, 0));
    EXPECT_EQ(seen.distance, 30.0f);
    EXPECT_EQ(seen.depth, 30.0f);
    EXPECT_FALSE(seen.sensor);
    EXPECT_EQ(reached, seen.position);
    EXPECT_EQ(normal, fpVector2(-1, 0));
    EXPECT_EQ(counters.tests, 2);  // the rock and the level bounds
    EXPECT_EQ(counters.hits, 1);
}

TEST_F(PhysicsSweepTest, ContactsAreTakenNearestFirstDiscoveryOrderOnTies) {
    add("far", {180, 100, 10, 10});
    add("nearFirst", {140, 100, 10, 10});
    add("nearSecond", {140, 110, 10, 10});
    onContact = [](PhysicalCollision& contact) { contact.passThrough = true; };
    EXPECT_TRUE(sweep({200, 100}));
    EXPECT_EQ(met, (std::vector<std::string>{"nearFirst", "nearSecond", "far"}));
    EXPECT_EQ(reached, fpVector2(200, 100));

    met.clear();
    onContact = nullptr;
    EXPECT_FALSE(sweep({200, 100}));
    EXPECT_EQ(met, std::vector<std::string>{"nearFirst"});
    EXPECT_NEAR(reached.x, 119.999f, 1e-4f);
}

TEST_F(PhysicsSweepTest, EveryContactAtTheStartIsReportedBeforeTheFirstStops) {
    add("right", {120, 90, 10, 40});
    add("below", {90, 120, 40, 10});
    add("later", {90, 160, 40, 10});
    EXPECT_FALSE(sweep({110, 110}));
    EXPECT_EQ(met, (std::vector<std::string>{"right", "below"}));
    EXPECT_EQ(normal, fpVector2(-1, 0));
    EXPECT_NEAR(reached.x, 99.999f, 1e-4f);
    EXPECT_EQ(reached.y, 100.0f);

    met.clear();
    onContact = [this](PhysicalCollision& contact) { contact.passThrough = names[contact.otherBody->owner] == "right"; };
    EXPECT_FALSE(sweep({110, 110}));
    EXPECT_EQ(normal, fpVector2(0, -1));
    EXPECT_NEAR(reached.y, 99.999f, 1e-4f);
}

TEST_F(PhysicsSweepTest, CallbackAnswers) {
    add("rock", {150, 100, 20, 20});
    struct Case {
        const char* label;
        void (*answer)(PhysicalCollision&);
        bool complete;
        fpVector2 reached;
        bool respond;
    };
    const Case cases[] = {
        {"nothing", [](PhysicalCollision&) {}, false, {129.999f, 100}, true},
        {"pass through", [](PhysicalCollision& c) { c.passThrough = true; }, true, {200, 100}, true},
        {"hold the position", [](PhysicalCollision& c) { c.holdPosition = true; }, true, {100, 100}, true},
        {"keep the velocity", [](PhysicalCollision& c) { c.keepVelocity = true; }, false, {129.999f, 100}, false},
        // Asked twice for another pass, the sweep gives up and reports the target.
        {"sweep again", [](PhysicalCollision& c) { c.sweepAgain = true; }, true, {200, 100}, true},
    };
    for (const Case& c : cases) {
        met.clear();
        onContact = c.answer;
        EXPECT_EQ(sweep({200, 100}), c.complete) << c.label;
        EXPECT_NEAR(reached.x, c.reached.x, 1e-4f) << c.label;
        EXPECT_EQ(reached.y, c.reached.y) << c.label;
        EXPECT_EQ(respond, c.respond) << c.label;
    }
    EXPECT_EQ(met.size(), 2u);  // the last case: one callback per pass
}

TEST_F(PhysicsSweepTest, SensorsAreReportedOncePerPassAndStopNothing) {
    add("sensor", {130, 90, 20, 40}, Trigger, true);
    EXPECT_TRUE(sweep({200, 100}));
    EXPECT_EQ(met, std::vector<std::string>{"sensor"});
    EXPECT_EQ(reached, fpVector2(200, 100));

    // A second pass reports it again.
    add("rock", {170, 100, 20, 20});
    met.clear();
    onContact = [this](PhysicalCollision& contact) {
        EXPECT_EQ(contact.sensor, names[contact.otherBody->owner] == "sensor");
        contact.sweepAgain = !contact.sensor;
    };
    EXPECT_TRUE(sweep({200, 100}));
    EXPECT_EQ(met, (std::vector<std::string>{"sensor", "rock", "sensor", "rock"}));

    // The moving body may be the sensor too.
    PhysicalObject& probe = *level.objects.emplace_back(makeBox({100, 200, 20, 20}, Items, Rocks, true, true));
    level.physics.placeObject(probe);
    names[&probe] = "probe";
    add("stone", {130, 200, 20, 20});
    met.clear();
    onContact = nullptr;
    EXPECT_TRUE(level.physics.sweep(probe, {200, 200}, reached, normal, nullptr, false, respond, counters));
    EXPECT_EQ(met, std::vector<std::string>{"stone"});
}

TEST_F(PhysicsSweepTest, IgnoredOwnAndNonCollidableBodiesAreSkipped) {
    PhysicalObject& ignored = add("ignored", {130, 100, 10, 20});
    PhysicalObject& ghost = add("ghost", {150, 100, 10, 20});
    ghost.collidable = false;
    PhysicalBody second = makeBody(new RectShape({40, 0, 10, 20}, true), Rocks, Rocks);
    mover->addBody(second);  // the mover's own second body lies in its path
    EXPECT_TRUE(sweep({200, 100}, false, &ignored));
    EXPECT_TRUE(met.empty());

    EXPECT_FALSE(sweep({200, 100}));
    EXPECT_EQ(met, std::vector<std::string>{"ignored"});
}

TEST_F(PhysicsSweepTest, SuppressedCallbacksStillStop) {
    add("rock", {150, 100, 20, 20});
    EXPECT_FALSE(sweep({200, 100}, true));
    EXPECT_TRUE(met.empty());
    EXPECT_NEAR(reached.x, 129.999f, 1e-4f);
}

TEST_F(PhysicsSweepTest, TheCallbackMaySweepAndQueryWithoutDisturbingTheOuterSweep) {
    add("rock", {150, 100, 20, 20});
    add("far rock", {300, 100, 20, 20});
    PhysicalObject& other = level.addBox({100, 300, 20, 20}, Items, Rocks | Trigger);
    add("other's rock", {150, 300, 20, 20});
    std::vector<PhysicalObject*> found;
    onContact = [&](PhysicalCollision&) {
        EXPECT_TRUE(level.physics.queryRect({0, 0, 800, 400}, Rocks, found));
        // A nested move stops at its own rock, calling no callback.
        EXPECT_FALSE(level.physics.moveObjectTo(other, {200, 300}, false, nullptr, false));
    };
    EXPECT_FALSE(sweep({400, 100}));
    EXPECT_EQ(met, std::vector<std::string>{"rock"});
    EXPECT_NEAR(reached.x, 129.999f, 1e-4f);
    EXPECT_EQ(found.size(), 3u);
    EXPECT_EQ(other.position(), fpVector2(100, 300));
}

TEST_F(PhysicsSweepTest, MovingAnObject) {
    add("rock", {150, 100, 20, 20});
    mover->velocity = {5, 5};
    EXPECT_FALSE(level.physics.moveObjectTo(*mover, {200, 100}, false, nullptr, true));
    EXPECT_EQ(mover->position(), fpVector2(100, 100));
    EXPECT_TRUE(level.physics.moveObjectTo(*mover, {200, 100}, true, nullptr, true));
    EXPECT_NEAR(mover->position().x, 129.999f, 1e-4f);
    EXPECT_TRUE(level.physics.moveObjectTo(*mover, {120, 200}, false, nullptr, true));
    EXPECT_EQ(mover->position(), fpVector2(120, 200));
    EXPECT_EQ(mover->velocity, fpVector2(5, 5));
    // Its registration moved with it.
    std::vector<PhysicalObject*> found;
    EXPECT_TRUE(level.physics.queryBodies({125, 205, 1, 1}, Items, found));
}

} // namespace
} // namespace zor::test
