#include "game/definitions/NameEnumerations.h"

#include <cstdint>
#include <string>

#include <gtest/gtest.h>

namespace zor {
namespace {

struct NameCase {
    const char* name;
    std::uint32_t value;
};

// Every named value, plus the texts that must give 0: empty, other case, blanks, unknown.
TEST(NameEnumerations, CollisionGroupNames) {
    const NameCase cases[] = {
        {"player", 0x1},        {"enemies", 0x2},     {"hard_enemies", 0x4}, {"rocks", 0x8},
        {"tiles", 0x10},        {"items", 0x20},      {"projectiles", 0x40}, {"trigger", 0x80},
        {"pools", 0x100},       {"wall_enemies", 0x200}, {"bounds", 0x400},  {"transport", 0x800},
        {"ladders", 0x1000},    {"lamps", 0x2000},    {"npcs", 0x4000},      {"exits", 0x8000},
        {"support", 0x10000},   {"boss", 0x20000},    {"beams", 0x40000},    {"actors", 0x20007},
        {"none", 0},            {"", 0},              {"Tiles", 0},          {" tiles", 0},
        {"tiles ", 0},          {"dirt", 0},
    };
    for (const NameCase& c : cases)
        EXPECT_EQ(parseCollisionGroup(c.name), c.value) << '"' << c.name << '"';
}

TEST(NameEnumerations, CollisionMaskLists) {
    const NameCase cases[] = {
        {"actors", 0x20007},          {"tiles;rocks", 0x18},  {"enemies;beams", 0x40002},
        {"enemies;;rocks", 0xA},      {";tiles;", 0x10},      {"tiles;tiles", 0x10},
        {" tiles", 0},                {"tiles; rocks", 0x10}, {";", 0},
        {"", 0},                      {"actors;tiles", 0x20017},
    };
    for (const NameCase& c : cases)
        EXPECT_EQ(parseCollisionMask(c.name), c.value) << '"' << c.name << '"';
}

TEST(NameEnumerations, FactionNamesAndLists) {
    const NameCase single[] = {
        {"player", 1}, {"mirethan", 2}, {"gleamer", 4}, {"arcwraith", 8}, {"barrel", 16},
        {"none", 0},   {"", 0},         {"Player", 0},  {"player ", 0},
    };
    for (const NameCase& c : single)
        EXPECT_EQ(parseFaction(c.name), c.value) << '"' << c.name << '"';

    const NameCase lists[] = {
        {"player;barrel", 17}, {"mirethan;;gleamer", 6}, {"arcwraith", 8}, {"none;player", 1}, {"", 0},
    };
    for (const NameCase& c : lists)
        EXPECT_EQ(parseFactionMask(c.name), c.value) << '"' << c.name << '"';
}

TEST(NameEnumerations, DamageTypeNames) {
    const struct {
        const char* name;
        DamageType type;
    } cases[] = {
        {"normal", DamageType::Normal},   {"crush", DamageType::Crush},
        {"wood_crush", DamageType::WoodCrush}, {"pressure", DamageType::Pressure},
        {"weak", DamageType::Weak},       {"tile", DamageType::Tile},
        {"reduced", DamageType::Reduced}, {"enemy_and_tile", DamageType::EnemyAndTile},
        {"barrier", DamageType::Barrier}, {"", DamageType::Normal},
        {"Crush", DamageType::Normal},    {"suicide", DamageType::Normal},
        {"fall", DamageType::Normal},     {"3", DamageType::Normal},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseDamageType(c.name), c.type) << '"' << c.name << '"';
    // The codes the game stores must match the data's numbering.
    EXPECT_EQ(static_cast<int>(DamageType::Pressure), 4);
    EXPECT_EQ(static_cast<int>(DamageType::Suicide), 6);
    EXPECT_EQ(static_cast<int>(DamageType::Fall), 8);
    EXPECT_EQ(static_cast<int>(DamageType::Barrier), 11);
}

TEST(NameEnumerations, AttackTypeNames) {
    const struct {
        const char* name;
        int code;
    } cases[] = {
        {"player", 0}, {"wall", 1},  {"contact", 2}, {"projectile", 3}, {"turtle_projectile", 4},
        {"laser", 5},  {"", 0},      {"Laser", 0},   {"melee", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(static_cast<int>(parseAttackType(c.name)), c.code) << '"' << c.name << '"';
}

TEST(NameEnumerations, SpecialTypeNames) {
    const struct {
        const char* name;
        int code;
    } cases[] = {
        {"player", 1},   {"player_proxy", 2}, {"fallblock", 3}, {"pool", 4},       {"bouncer", 5},
        {"ladder", 6},   {"boss_core", 7},    {"barrier", 8},   {"generator", 9},  {"teleporter", 10},
        {"", 0},         {"none", 0},         {"Player", 0},    {"ladder ", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(static_cast<int>(parseSpecialType(c.name)), c.code) << '"' << c.name << '"';
}

} // namespace
} // namespace zor
