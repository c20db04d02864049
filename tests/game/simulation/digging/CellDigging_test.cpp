// Damage to tile cells: which hits a tile accepts, how damage accumulates against its
// hardness, what a break releases and changes and in which order, and the strip in front of
// a moving rectangle.

#include "tests/game/simulation/digging/DiggingFixture.h"

#include "game/world/entity/EffectObject.h"
#include "game/world/entity/ResourceObject.h"

#include "Framework/store/AchievementStore.h"

#include "tests/support/common/LogCapture.h"
#include "tests/support/game/ListeningMachine.h"

#include <cmath>
#include <vector>

namespace zor::test {
namespace {

constexpr iVector2 Cell{10, 4};

TEST_F(DiggingTest, CanDigFollowsFlagsTiersTypesAndDirections) {
    struct Case {
        const char* label;
        std::uint16_t tile;
        DamageType type;
        std::int32_t tier;
        fpVector2 direction;
        bool accepted;
    };
    const fpVector2 right(1, 0);
    const Case cases[] = {
        {"dirt, tier 1", Dirt, DamageType::Normal, 1, right, true},
        {"dirt, tier 0 below its 1", Dirt, DamageType::Normal, 0, right, false},
        {"quartz, tier 2 below its 3", Quartz, DamageType::Normal, 2, right, false},
        {"quartz, tier 3", Quartz, DamageType::Normal, 3, right, true},
        {"bedrock, required tier 0", Bedrock, DamageType::Normal, 666, right, false},
        {"bedrock under pressure", Bedrock, DamageType::Pressure, 666, right, false},
        {"pressure on dirt without the flag", Dirt, DamageType::Pressure, 666, right, false},
        {"pressure on rubble ignores tier", Rubble, DamageType::Pressure, 0, right, true},
        {"crush on rubble keeps the tier", Rubble, DamageType::Crush, 0, right, false},
        {"one-sided, travelling right", Ledge, DamageType::Normal, 1, right, true},
        {"one-sided, travelling left", Ledge, DamageType::Normal, 1, fpVector2(-1, 0), false},
        {"one-sided, travelling up", Ledge, DamageType::Normal, 1, fpVector2(0, -1), false},
        {"one-sided, travelling down", Ledge, DamageType::Normal, 1, fpVector2(0, 1), false},
        {"one-sided, no horizontal part", Ledge, DamageType::Normal, 1, fpVector2(0, 0), false},
        {"one-sided, only the sign counts", Ledge, DamageType::Normal, 1, fpVector2(0.01f, -5), true},
        {"a type without the solid flag", Vapour, DamageType::Normal, 666, right, false},
        {"no wall slide digs as usual", Slick, DamageType::Normal, 1, right, true},
        {"fragile glass", Glass, DamageType::Weak, 1, right, true},
        // The checked accessor reads type 1 (dirt) for an index beyond the table.
        {"a type index beyond the table", 700, DamageType::Normal, 1, right, true},
        {"beyond the table, tier 0", 700, DamageType::Normal, 0, right, false},
    };
    for (const Case& c : cases) {
        place(Cell, c.tile);
        DamageData damage = hit(1, c.tier, c.type);
        EXPECT_EQ(objects().canDig(Cell, c.direction, damage), c.accepted) << c.label;
    }

    // Cells that are not solid or lie outside the level are refused quietly.
    place(Cell, Dirt);
    *level().tileMap->cell(Cell.x, Cell.y) &= std::uint8_t(~TileBits::Solid);
    for (const iVector2& cell : {Cell, iVector2(-1, 4), iVector2(20, 4), iVector2(4, -1), iVector2(4, 10)}) {
        EXPECT_FALSE(objects().canDig(cell, {1, 0}, hit(1))) << cell.x << "," << cell.y;
        float leftover = -1.0f;
        EXPECT_FALSE(objects().digCell(cell, {1, 0}, hit(100), &leftover)) << cell.x << "," << cell.y;
        EXPECT_EQ(leftover, 0.0f);
    }
}

TEST_F(DiggingTest, ThreeTotalHitsBreakAnyAcceptedTileOnTheThird) {
    for (const std::int32_t base : {1, 7, 1000}) {
        SCOPED_TRACE(base);
        std::vector<TileType>& types = const_cast<std::vector<TileType>&>(level().library->tileTypes);
        types[Dirt].hardnessBase = base;
        place(Cell, Dirt);
        DamageData damage = hit(0.001f);
        damage.totalHits = 3;
        EXPECT_FALSE(objects().digCell(Cell, {1, 0}, damage));
        EXPECT_FALSE(objects().digCell(Cell, {1, 0}, damage));
        EXPECT_TRUE(objects().digCell(Cell, {1, 0}, damage));
        EXPECT_FALSE(solid(Cell));
    }
}

TEST_F(DiggingTest, FragileTilesBreakAtOnceExceptUnderPressureOrWeakDamage) {
    struct Case {
        DamageType type;
        bool broke;
        float progress;
    };
    for (const Case& c : {Case{DamageType::Normal, true, -1.0f}, Case{DamageType::Crush, true, -1.0f},
                          Case{DamageType::Weak, false, 1.0f / 9.0f}, Case{DamageType::Pressure, false, 1.0f / 9.0f}}) {
        SCOPED_TRACE(int(c.type));
        place(Cell, Glass);
        EXPECT_EQ(objects().digCell(Cell, {1, 0}, hit(1, 1, c.type)), c.broke);
        EXPECT_FLOAT_EQ(progress(Cell), c.progress);
        objects().eraseCellRecord(Cell);
    }
}

TEST_F(DiggingTest, HardnessFollowsTheDepthCurveReductionIgnoreDepthAndTheResource) {
    // The curve gives tier 2 at every row: quartz is 2 x 2 + 6 = 10 hard there.
    level().hardnessMultiplier = 1;
    level().hardnessConstant = 2;
    level().hardnessLinear = 0.0f;
    struct Case {
        const char* label;
        bool ignoreDepth;
        std::int32_t tileReduction;
        std::int32_t resourceIndex;
        float hardness;
    };
    const Case cases[] = {
        {"by the curve", false, 0, 0, 10},
        {"one level taken off", false, 1, 0, 8},
        {"more taken off than there is: at least 1", false, 10, 0, 1},
        {"depth ignored", true, 0, 0, 6},
        {"depth ignored, reduction unused", true, 3, 0, 6},
        {"with the resource's extra hit points", false, 0, resourceIndex("dense_ore"), 14},
        {"a resource index outside the registry adds nothing", false, 0, 9999, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        place(Cell, Quartz);
        objects().cellRecord(Cell).resourceIndex = c.resourceIndex;
        DamageData damage = hit(0.5f, 3);
        damage.ignoreDepth = c.ignoreDepth;
        damage.tileReduction = c.tileReduction;
        objects().digCell(Cell, {1, 0}, damage);
        EXPECT_FLOAT_EQ(progress(Cell), std::min(1.0f, 0.5f / c.hardness));
        objects().eraseCellRecord(Cell);
    }
}

TEST_F(DiggingTest, LeftoverIsTheAmountTheBreakDidNotUse) {
    place(Cell, Dirt);
    float leftover = -1.0f;
    EXPECT_FALSE(objects().digCell(Cell, {1, 0}, hit(2), &leftover));
    EXPECT_EQ(leftover, 0.0f);
    EXPECT_FLOAT_EQ(progress(Cell), 0.5f);
    // Half of 4 was left: 10 - 2.
    EXPECT_TRUE(objects().digCell(Cell, {1, 0}, hit(10), &leftover));
    EXPECT_FLOAT_EQ(leftover, 8.0f);

    // A fragile tile breaks on 1, but the leftover counts against its hardness from the amount.
    place(Cell, Glass);
    EXPECT_TRUE(objects().digCell(Cell, {1, 0}, hit(5), &leftover));
    EXPECT_FLOAT_EQ(leftover, 4.0f);
}

TEST_F(DiggingTest, AGoneTileDamageStartsOverAndTheCellWordKeepsItsType) {
    place(Cell, Dirt);
    objects().digCell(Cell, {1, 0}, hit(1));
    EXPECT_EQ(word(Cell), Dirt | TileWord::HasCellRecord);
    const std::int32_t first = objects().findCellRecord(Cell)->tileDamageId;
    world().removeEntityById(first);
    objects().digCell(Cell, {1, 0}, hit(1));
    EXPECT_NE(objects().findCellRecord(Cell)->tileDamageId, first);
    EXPECT_FLOAT_EQ(progress(Cell), 0.25f);

    // A record naming an entity of another kind is not taken for the cell's damage.
    objects().findCellRecord(Cell)->tileDamageId = world().player()->id();
    objects().digCell(Cell, {1, 0}, hit(1));
    EXPECT_FLOAT_EQ(progress(Cell), 0.25f);
    EXPECT_TRUE(world().player()->alive());

    objects().digCell(Cell, {1, 0}, hit(10));
    EXPECT_FALSE(solid(Cell));
    EXPECT_EQ(word(Cell), Dirt);
    EXPECT_EQ(objects().findCellRecord(Cell), nullptr);
}

std::shared_ptr<BehaviorMachine> wallMachine() { return listeningMachine({"lostWall", "playerDestroyedWall"}); }

// What had happened at each announcement during a break, in order.
struct BreakTimeline {
    BreakTimeline(World& world, GameObjectSimulator& objects, const iVector2& cell) {
        added = world.entityAdded.connect(this, [&world, &objects, cell](BreakTimeline* t, Entity* entity) {
            const char* kind = entity->type() == EntityType::Effect       ? "effect"
                               : entity->type() == EntityType::TileDamage ? "tile damage"
                                                                          : "object";
            t->log.push_back(std::string(kind) + " sounds " + std::to_string(world.soundRequests.size()) +
                             (objects.isSolidCell(cell) ? " solid" : " open"));
        });
        AchievementFile file;
        file.achievements.push_back({"deep_digger", "cntr_destroy_blocks", 1000000});
        localAchievements().define(file);
        progress = localAchievements().achievementProgress().connect(
            this, [&objects](BreakTimeline* t, const Achievement*) {
                t->log.push_back("counter regrowths " + std::to_string(objects.regenerationQueue().size()));
            });
    }
    std::vector<std::string> log;
    EventConnection added;
    EventConnection progress;
};

TEST_F(DiggingTest, ABreakReleasesAndChangesEverythingInItsOrder) {
    place(Cell, Geode);
    objects().cellRecord(Cell).resourceIndex = resourceIndex("dense_ore");
    level().mainLayer().at(Cell.x, Cell.y) |= TileWord::HasCellRecord;
    // A clinger holding on to the cell from above, one beside it holding on to its own.
    ActorObject* attached = world().spawnActorFacingRight("clinger", {420, 160});
    ActorObject* neighbour = world().spawnActorFacingRight("clinger", {446, 160});
    attached->behaviorMachine = wallMachine();
    neighbour->behaviorMachine = wallMachine();
    ActorObject* sleeper = world().spawnActorFacingRight("crawler", {420, 216});
    sleeper->physicalObject.awake = false;

    const std::int32_t blocksBefore = localAchievements().hasCounter("cntr_destroy_blocks")
                                          ? localAchievements().findCounter("cntr_destroy_blocks")->value
                                          : 0;
    BreakTimeline timeline(world(), objects(), Cell);
    // 1 of the geode and 4 of the ore.
    DamageData damage = hit(5);
    damage.sourceObjectId = world().player()->id();
    // The first hit makes the TileDamage and breaks the tile.
    ASSERT_TRUE(objects().digCell(Cell, {0, 1}, damage));
    EXPECT_EQ(timeline.log, (std::vector<std::string>{"tile damage sounds 0 solid", "effect sounds 0 solid",
                                                      "object sounds 0 solid", "counter regrowths 1"}));

    EXPECT_FALSE(solid(Cell));
    EXPECT_EQ(word(Cell), Geode);
    EXPECT_EQ(objects().findCellRecord(Cell), nullptr);
    EXPECT_TRUE(sleeper->physicalObject.awake);
    EXPECT_TRUE(heard(*attached, "playerDestroyedWall"));
    EXPECT_TRUE(heard(*attached, "lostWall"));
    EXPECT_FALSE(heard(*neighbour, "lostWall"));
    EXPECT_FALSE(heard(*neighbour, "playerDestroyedWall"));
    ASSERT_EQ(objects().regenerationQueue().size(), 1u);
    EXPECT_EQ(objects().regenerationQueue().front().column, Cell.x);
    EXPECT_FLOAT_EQ(objects().regenerationQueue().front().dueTime, objects().levelTime() + 5.0f);
    EXPECT_EQ(localAchievements().findCounter("cntr_destroy_blocks")->value, blocksBefore + 1);

    // The step plays the sound at the cell centre and takes the TileDamage away.
    std::size_t tileDamages = 0;
    for (const auto& entry : world().entities()) {
        if (entry.second->type() != EntityType::TileDamage) continue;
        ++tileDamages;
        EXPECT_FALSE(entry.second->alive());
    }
    EXPECT_EQ(tileDamages, 1u);
    harness->runSteps(1);
    const auto& sounds = harness->recordings().soundRequests;
    ASSERT_EQ(sounds.size(), 1u);
    EXPECT_EQ(sounds[0].cue, "quartz_break");
    EXPECT_EQ(sounds[0].position, fpVector2(420, 180));
    std::size_t ores = 0;
    for (const auto& entry : world().gameObjects())
        ores += entry.second->gameObjectDefinition().name == "dense_ore";
    EXPECT_EQ(ores, 1u);
}

TEST_F(DiggingTest, OnlyThePlayersDiggingTellsTheAttachedActorItsWallWasDestroyed) {
    struct Case {
        const char* dealer;
        bool player;
    };
    for (const Case& c : {Case{"the player", true}, Case{"another actor", false}, Case{"nobody", false}}) {
        SCOPED_TRACE(c.dealer);
        place(Cell, Geode);
        ActorObject* attached = world().spawnActorFacingRight("clinger", {420, 160});
        attached->behaviorMachine = wallMachine();
        DamageData damage = hit(1);
        if (c.player) damage.sourceObjectId = world().player()->id();
        if (std::string(c.dealer) == "another actor") damage.sourceObjectId = attached->id();
        ASSERT_TRUE(objects().digCell(Cell, {0, 1}, damage));
        EXPECT_EQ(heard(*attached, "playerDestroyedWall"), c.player);
        EXPECT_TRUE(heard(*attached, "lostWall"));
        world().removeEntity(attached);
        world().processRemovals();
    }
}

TEST_F(DiggingTest, AnUnregisteredMaterialBreaksWithoutEffectsOrSoundsReportedOnce) {
    LogCapture log;
    std::size_t effects = 0;
    EventConnection counting = world().entityAdded.connect(&effects, [](std::size_t* count, Entity* entity) {
        *count += entity->type() == EntityType::Effect;
    });
    for (const iVector2& cell : {iVector2(10, 4), iVector2(11, 4)}) {
        place(cell, Ghost);
        EXPECT_TRUE(objects().digCell(cell, {1, 0}, hit(1)));
        EXPECT_FALSE(solid(cell));
    }
    EXPECT_EQ(effects, 0u);
    EXPECT_TRUE(world().soundRequests.empty());
    EXPECT_EQ(log.warnings.size(), 1u);
}

TEST_F(DiggingTest, AResourceIndexOutsideTheRegistrySpawnsNothing) {
    place(Cell, Dirt);
    objects().cellRecord(Cell).resourceIndex = 9999;
    const std::size_t objectsBefore = world().gameObjects().size();
    EXPECT_TRUE(objects().digCell(Cell, {1, 0}, hit(4)));
    EXPECT_EQ(world().gameObjects().size(), objectsBefore);
}

TEST_F(DiggingTest, AHitThatDoesNotBreakShowsTheMaterialsCrack) {
    place(Cell, Quartz);
    std::vector<const EffectDefinition*> effects;
    EventConnection counting = world().entityAdded.connect(&effects, [](std::vector<const EffectDefinition*>* shown,
                                                                        Entity* entity) {
        if (entity->type() == EntityType::Effect) shown->push_back(static_cast<EffectObject*>(entity)->definition);
    });
    EXPECT_FALSE(objects().digCell(Cell, {1, 0}, hit(1, 3)));
    EXPECT_EQ(effects, std::vector<const EffectDefinition*>{&getEffectDefinition("crack_small")});
}

TEST_F(DiggingTest, FrontCellsIsTheStripBeyondTheSideTheDirectionPointsTo) {
    struct Case {
        const char* label;
        fpVector2 direction;
        fpRect area;
        iRect strip;
    };
    const fpRect box(100, 100, 30, 50);
    const Case cases[] = {
        {"right", {1, 0}, box, {3, 2, 1, 2}},
        {"left", {-1, 0}, box, {2, 2, 1, 2}},
        {"down", {0, 1}, box, {2, 4, 2, 1}},
        {"up", {0, -1}, box, {2, 2, 2, 1}},
        {"a diagonal tie goes horizontal", {1, 1}, box, {3, 2, 1, 2}},
        {"mostly up", {0.5f, -1}, box, {2, 2, 2, 1}},
        {"left of the level truncates toward zero", {-1, 0}, fpRect(-30, 0, 10, 10), {-1, 0, 1, 1}},
        {"a box on a cell edge", {0, 1}, fpRect(80, 80, 40, 40), {2, 3, 1, 1}},
    };
    for (const Case& c : cases) EXPECT_EQ(objects().frontCells(c.direction, c.area), c.strip) << c.label;
}

TEST_F(DiggingTest, DigFrontHitsEverySolidCellAndTellsHowManyThereWere) {
    // The strip right of the box: column 11, rows 2 to 4.
    const fpRect box(400, 80, 20, 100);
    const DamageData damage = hit(4);

    GameObjectSimulator::FrontDig none = objects().digFront(box, {1, 0}, damage);
    EXPECT_TRUE(none.allBroke);
    EXPECT_EQ(none.solidCells, 0);

    place({11, 2}, Dirt);
    place({11, 4}, Dirt);
    GameObjectSimulator::FrontDig broke = objects().digFront(box, {1, 0}, damage);
    EXPECT_TRUE(broke.allBroke);
    EXPECT_EQ(broke.solidCells, 2);

    place({11, 2}, Bedrock);
    place({11, 3}, Dirt);
    place({11, 4}, Dirt);
    GameObjectSimulator::FrontDig held = objects().digFront(box, {1, 0}, damage);
    EXPECT_FALSE(held.allBroke);
    EXPECT_EQ(held.solidCells, 3);
    // The cells after the one that held were still hit.
    EXPECT_FALSE(solid({11, 3}));
    EXPECT_FALSE(solid({11, 4}));
}

} // namespace
} // namespace zor::test
