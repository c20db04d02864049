// Floors and walls of the tile map on hand-made contacts, in the digging room whose tile
// table has pressure and no-slide tiles: the weight of a heavy object on a strip of cells,
// wall slides, and how hard a long fall hits the floor it breaks.

#include "tests/game/simulation/digging/DiggingFixture.h"
#include "tests/support/game/ListeningMachine.h"

#include "game/definitions/ActorDefinition.h"
#include "game/simulation/contacts/ContactRules.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/physics/PhysicalCollision.h"

#include <algorithm>
#include <optional>

namespace zor::test {
namespace {

void loadLevelContactDefinitions() {
    static const bool loaded = [] {
        loadDiggingDefinitions();
        addDefinitions(actorRegistry(), "level contact actors", R"(
          <Actor><Name>lc_anvil</Name><CollisionBox>-40;-40;80;40</CollisionBox><CollisionGroup>rocks</CollisionGroup>
            <WeightPressure>true</WeightPressure><UpdatePhysics>false</UpdatePhysics></Actor>
          <Actor><Name>lc_climber</Name><CollisionBox>-10;-30;20;30</CollisionBox><CollisionGroup>enemies</CollisionGroup>
            <HitPoints>10</HitPoints><AnimationState>body</AnimationState><UpdatePhysics>false</UpdatePhysics></Actor>
          <Actor><Name>lc_heavy_climber</Name><Template>lc_climber</Template><WeightPressure>true</WeightPressure></Actor>
          <Actor><Name>lc_faller</Name><Template>lc_climber</Template><FallDamage Distance="40"/>
            <FallTileDamageConstant>true</FallTileDamageConstant></Actor>
          <Actor><Name>lc_rammer</Name><Template>lc_climber</Template><CollideDamage Amount="2" ReqVelocity="300"/></Actor>
          <Actor><Name>lc_linear_faller</Name><Template>lc_climber</Template><FallDamage Distance="20"/>
            <FallTileDamageLinear>true</FallTileDamageLinear></Actor>)");
        return true;
    }();
    (void)loaded;
}

class LevelContacts : public DiggingTest {
protected:
    void SetUp() override {
        loadLevelContactDefinitions();
        DiggingTest::SetUp();
        tiles.group = CollisionGroup::Tiles;
    }

    ActorObject& spawn(const char* name, const fpVector2& at) { return *world().spawnActor(name, at, {1.0f, 0.0f}); }
    // The object touching the tile map along `normal` at `target`.
    PhysicalCollision touchTiles(const GameObject& object, const fpVector2& normal, const fpVector2& target) {
        PhysicalCollision contact;
        contact.body = &object.physicalObject.bodies().front();
        contact.otherBody = &tiles;
        contact.position = object.getPosition();
        contact.target = target;
        contact.normal = normal;
        return contact;
    }
    std::optional<float> queuedRate(const iVector2& cell) {
        for (const auto& queued : objects().cellDamageQueue())
            if (queued.column == cell.x && queued.row == cell.y) return queued.rate;
        return std::nullopt;
    }

    PhysicalBody tiles;
};

TEST_F(LevelContacts, AHeavyObjectPressesOnAStripOnlyWhenEverySolidCellOfItGivesWay) {
    // The anvil's 80 px base covers columns 5 and 6 of row 6 exactly.
    const iVector2 left(5, 6), right(6, 6);
    struct Case {
        const char* what;
        std::uint16_t leftTile;
        std::uint16_t rightTile;
        bool leftQueued;
        bool rightQueued;
    };
    const Case cases[] = {
        {"two pressure tiles", Rubble, Glass, true, true},
        {"a pressure tile next to ordinary dirt", Rubble, Dirt, false, false},
        {"a pressure tile next to air", Rubble, Empty, true, false},
        {"no pressure tile", Dirt, Dirt, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        if (c.leftTile != Empty) place(left, c.leftTile);
        if (c.rightTile != Empty) place(right, c.rightTile);
        ActorObject& anvil = spawn("lc_anvil", {240.0f, 240.0f});
        anvil.physicalObject.gravity = {0.0f, 1500.0f};
        checkLanding(objects(), anvil, touchTiles(anvil, {0.0f, -1.0f}, anvil.getPosition()));
        EXPECT_EQ(queuedRate(left), c.leftQueued ? std::optional<float>(15.0f) : std::nullopt);
        EXPECT_EQ(queuedRate(right), c.rightQueued ? std::optional<float>(15.0f) : std::nullopt);
    }
}

TEST_F(LevelContacts, AnActorInTheAirPushingIntoAWallSlidesUnlessTheWallIsNoSlide) {
    // The climber's right side touches column 6 at x 240; the wall cell is (6, 4).
    const iVector2 wall(6, 4);
    struct Case {
        const char* what;
        const char* actor;
        std::uint16_t tile;
        std::int32_t groundState;
        float moveX;
        bool slides;
        std::optional<float> pressure;  // the wall cell's queued rate
    };
    const Case cases[] = {
        {"into a dirt wall", "lc_climber", Dirt, 0, 1.0f, true, std::nullopt},
        {"into a no-slide wall", "lc_climber", Slick, 0, 1.0f, false, std::nullopt},
        {"away from the wall", "lc_climber", Dirt, 0, -1.0f, false, std::nullopt},
        {"not pushing", "lc_climber", Dirt, 0, 0.0f, false, std::nullopt},
        {"on the ground", "lc_climber", Dirt, 1, 1.0f, false, std::nullopt},
        {"a heavy actor on a pressure wall", "lc_heavy_climber", Rubble, 0, 1.0f, true, 120.0f * 0.0833333358f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        place(wall, c.tile);
        ActorObject& climber = spawn(c.actor, {230.0f, 200.0f});
        climber.animationParts["body"].machine = listeningMachine({"wallslide"});
        climber.groundState = c.groundState;
        climber.moveVector = {c.moveX, 0.0f};
        climber.fallDistance = 70.0f;
        climber.physicalObject.velocity = {0.0f, 120.0f};
        wallSlide(objects(), climber, touchTiles(climber, {-1.0f, 0.0f}, climber.getPosition()));
        EXPECT_EQ(climber.wallSide, c.slides ? -1 : 0);
        EXPECT_EQ(climber.fallDistance, c.slides ? 0.0f : 70.0f);
        EXPECT_EQ(climber.animationParts["body"].machine->takeInput("wallslide", false), c.slides);
        EXPECT_EQ(queuedRate(wall), c.pressure);
    }
}

TEST_F(LevelContacts, ALongFallHitsTheFloorWithThreeHitsOrFewerTheFurtherALinearFallerFell) {
    // The faller's feet at y 240 over column 5: the floor cell is (5, 6).
    const iVector2 floor(5, 6);
    struct Case {
        const char* actor;
        float fall;
        float totalHits;
    };
    const Case cases[] = {
        {"lc_faller", 40.0f, 3.0f},           // exactly Distance
        {"lc_faller", 400.0f, 3.0f},          // constant however far
        {"lc_linear_faller", 30.0f, 3.0f},    // under one cell
        {"lc_linear_faller", 60.0f, 2.0f},
        {"lc_linear_faller", 100.0f, 1.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.actor << " " << c.fall);
        SetUp();
        // What the floor must show: the same hit given by hand to a spare cell.
        const iVector2 spare(2, 2);
        place(spare, Dirt);
        DamageData reference;
        reference.tier = 2;
        reference.totalHits = c.totalHits;
        objects().digCell(spare, {0.0f, 1.0f}, reference);

        place(floor, Dirt);
        ActorObject& faller = spawn(c.actor, {220.0f, 240.0f});
        faller.fallDistance = c.fall;
        faller.physicalObject.velocity = {0.0f, 400.0f};
        const bool broke = fallDig(objects(), faller);
        EXPECT_EQ(broke, !solid(spare));
        EXPECT_EQ(solid(floor), solid(spare));
        EXPECT_EQ(progress(floor), progress(spare));
    }
}

TEST_F(LevelContacts, AnActorRisingIntoATileCeilingFastEnoughHurtsItselfButNotAtTheLevelsTop) {
    // The rammer has 10 hit points and CollideDamage 2 from an upward 300 px/s.
    struct Case {
        const char* what;
        float speed;
        std::uint32_t ceiling;
        float hitPoints;
    };
    const Case cases[] = {
        {"a tile ceiling at the required speed", 300.0f, CollisionGroup::Tiles, 8.0f},
        {"a tile ceiling just too slowly", 299.0f, CollisionGroup::Tiles, 10.0f},
        {"the level bounds", 600.0f, CollisionGroup::Bounds, 10.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        tiles.group = c.ceiling;
        ActorObject& rammer = spawn("lc_rammer", {230.0f, 200.0f});
        rammer.physicalObject.velocity = {0.0f, -c.speed};
        PhysicalCollision contact = touchTiles(rammer, {0.0f, 1.0f}, rammer.getPosition());
        headBump(objects(), rammer, contact);
        EXPECT_FLOAT_EQ(rammer.hitPoints, c.hitPoints);
    }
}

} // namespace
} // namespace zor::test
