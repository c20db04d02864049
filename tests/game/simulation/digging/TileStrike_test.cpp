// A weapon striking a tile: the dig when allowed, and the material's sound and effect at
// the struck face, turned to the side the hit came from.

#include "tests/game/simulation/digging/DiggingFixture.h"

#include "game/world/entity/EffectObject.h"

#include "Framework/core/math/Angle.h"

#include <vector>

namespace zor::test {
namespace {

constexpr iVector2 Cell{10, 4};  // pixels 400 to 440, 160 to 200

class TileStrikeTest : public DiggingTest {
protected:
    void SetUp() override {
        DiggingTest::SetUp();
        pick.name = "pick";
        added = world().entityAdded.connect(this, [](TileStrikeTest* test, Entity* entity) {
            if (entity->type() == EntityType::Effect) test->effects.push_back(static_cast<EffectObject*>(entity));
        });
    }

    const SoundRequest& onlySound() {
        EXPECT_EQ(world().soundRequests.size(), 1u);
        return world().soundRequests.back();
    }
    bool shown(const EffectObject* effect, const char* name) {
        return effect->definition == &getEffectDefinition(name);
    }

    ActorDefinition::Weapon pick;
    std::vector<EffectObject*> effects;
    EventConnection added;
};

TEST_F(TileStrikeTest, TheFeedbackSitsOnTheStruckFaceNearestTheReferenceAndFacesTheHit) {
    struct Case {
        const char* label;
        iVector2 direction;
        fpVector2 reference;
        fpVector2 point;
        float scaleX;
        float rotation;
    };
    const Case cases[] = {
        {"travelling right strikes the left face", {1, 0}, {300, 170}, {400, 170}, -1.0f, 0.0f},
        {"travelling left strikes the right face", {-1, 0}, {500, 250}, {440, 200}, 1.0f, 0.0f},
        {"travelling down strikes the top face", {0, 1}, {420, 100}, {420, 160}, 1.0f, -kPi / 2.0f},
        {"travelling up strikes the bottom face", {0, -1}, {380, 300}, {400, 200}, 1.0f, kPi / 2.0f},
        {"no direction: the point (0, 0)", {0, 0}, {420, 180}, {0, 0}, 1.0f, 0.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        place(Cell, Quartz);
        effects.clear();
        world().soundRequests.clear();
        EXPECT_TRUE(objects().hitTile(c.direction, c.reference, Cell, pick, hit(1, 3), true));
        EXPECT_EQ(onlySound().cue, "pick_dig");
        EXPECT_EQ(onlySound().position, c.point);
        ASSERT_EQ(effects.size(), 2u) << "the crack, then the spark";
        EXPECT_TRUE(shown(effects[1], "spark"));
        EXPECT_EQ(effects[1]->getPosition(), c.point);
        EXPECT_EQ(effects[1]->scaleX, c.scaleX);
        EXPECT_FLOAT_EQ(effects[1]->rotation, c.rotation);
        objects().eraseCellRecord(Cell);
    }
}

TEST_F(TileStrikeTest, TheSoundTellsDiggingFromGlancingAndOreFromRock) {
    struct Case {
        const char* label;
        bool ore;
        std::int32_t tier;  // quartz wants 3
        const char* cue;
        float pitch;
        const char* effect;
    };
    // Quartz is 6 hard, 10 with the ore: each hit takes it halfway, so ore rings at
    // 0.75 + 0.25 x 0.5.
    const Case cases[] = {
        {"rock, dug", false, 3, "pick_dig", 1.0f, "spark"},
        {"rock, too weak", false, 2, "pick_clink", 1.0f, "dull_spark"},
        {"ore, dug", true, 3, "pick_ore", 0.875f, "spark"},
        {"ore, too weak", true, 2, "pick_clink", 1.0f, "dull_spark"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        place(Cell, Quartz);
        if (c.ore) objects().cellRecord(Cell).resourceIndex = resourceIndex("dense_ore");
        effects.clear();
        world().soundRequests.clear();
        const DamageData damage = hit(c.ore ? 5.0f : 3.0f, c.tier);
        EXPECT_TRUE(objects().hitTile({1, 0}, {0, 0}, Cell, pick, damage, true));
        EXPECT_EQ(onlySound().cue, std::string(c.cue));
        EXPECT_FLOAT_EQ(onlySound().pitch, c.pitch);
        ASSERT_FALSE(effects.empty());
        EXPECT_TRUE(shown(effects.back(), c.effect));
        EXPECT_TRUE(solid(Cell));
        objects().eraseCellRecord(Cell);
    }
}

TEST_F(TileStrikeTest, WithoutFeedbackOrMaterialOnlyTheDigHappensAndAnOpenCellIsNoHit) {
    place(Cell, Quartz);
    EXPECT_TRUE(objects().hitTile({1, 0}, {0, 0}, Cell, pick, hit(3, 3), false));
    EXPECT_FLOAT_EQ(progress(Cell), 0.5f);
    EXPECT_TRUE(world().soundRequests.empty());
    EXPECT_EQ(effects.size(), 1u) << "only the crack of the dig";

    // A weapon the material has no entry for, or an effect no definition has: silence.
    effects.clear();
    ActorDefinition::Weapon hammer;
    hammer.name = "hammer";
    EXPECT_TRUE(objects().hitTile({1, 0}, {0, 0}, Cell, hammer, hit(0, 3), true));
    EXPECT_TRUE(world().soundRequests.empty());
    EXPECT_EQ(effects.size(), 1u) << "only the crack of the dig";

    // Bedrock never gives; the strike still counts.
    place({11, 4}, Bedrock);
    EXPECT_TRUE(objects().hitTile({1, 0}, {0, 0}, {11, 4}, pick, hit(100), true));
    EXPECT_TRUE(solid({11, 4}));

    EXPECT_FALSE(objects().hitTile({1, 0}, {0, 0}, {12, 4}, pick, hit(100), true));
    EXPECT_FALSE(objects().hitTile({1, 0}, {0, 0}, {-3, 4}, pick, hit(100), true));
}

} // namespace
} // namespace zor::test
