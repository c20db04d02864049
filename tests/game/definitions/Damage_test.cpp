// Damage records made in code: the given fields, and the defaults for all others whatever
// the record held before.

#include "game/definitions/Damage.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

TEST(DamageInitTest, SetsTheGivenFieldsAndResetsEveryOther) {
    DamageData damage;
    damage.tileReduction = 4;
    damage.totalHits = 3;
    damage.sourceObjectId = 77;
    damage.ignoreDepth = true;
    damage.enemyInvulnerabilityCooldown = 1;
    damage.playerInvulnerabilityCooldown = 9;
    damage.knockbackMultiplier = 3;
    damage.contactOnly = true;

    Damage::init(damage, 2, 8, 5.5f, 1.5f, 0.25f);
    EXPECT_EQ(damage.tier, 2);
    EXPECT_EQ(damage.type, DamageType::Fall);
    EXPECT_EQ(damage.amount, 5.5f);
    EXPECT_EQ(damage.enemyReduction, 1.5f);
    EXPECT_EQ(damage.enemyAmount, 0.25f);
    EXPECT_EQ(damage.tileReduction, 0);
    EXPECT_EQ(damage.totalHits, 0.0f);
    EXPECT_EQ(damage.sourceObjectId, 0);
    EXPECT_FALSE(damage.ignoreDepth);
    EXPECT_EQ(damage.enemyInvulnerabilityCooldown, 0.0f);
    EXPECT_EQ(damage.playerInvulnerabilityCooldown, 2.0f);
    EXPECT_EQ(damage.knockbackMultiplier, 1.0f);
    EXPECT_FALSE(damage.contactOnly);
}

} // namespace
} // namespace zor
