#include "game/definitions/NameEnumerations.h"

#include <string_view>

namespace zor {
namespace {

template <class Value, std::size_t N>
Value lookUp(const std::pair<std::string_view, Value> (&table)[N], const std::string& name) {
    for (const auto& [text, value] : table)
        if (text == name)
            return value;
    return Value{};
}

template <class Parse>
std::uint32_t parseMask(const std::string& text, Parse parseOne) {
    if (text.find(';') == std::string::npos)
        return parseOne(text);
    std::uint32_t mask = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(';', start);
        if (end == std::string::npos)
            end = text.size();
        if (end > start)
            mask |= parseOne(text.substr(start, end - start));
        start = end + 1;
    }
    return mask;
}

const std::pair<std::string_view, std::uint32_t> collisionGroups[] = {
    {"player", CollisionGroup::Player},
    {"enemies", CollisionGroup::Enemies},
    {"hard_enemies", CollisionGroup::HardEnemies},
    {"rocks", CollisionGroup::Rocks},
    {"tiles", CollisionGroup::Tiles},
    {"items", CollisionGroup::Items},
    {"projectiles", CollisionGroup::Projectiles},
    {"trigger", CollisionGroup::Trigger},
    {"pools", CollisionGroup::Pools},
    {"wall_enemies", CollisionGroup::WallEnemies},
    {"bounds", CollisionGroup::Bounds},
    {"transport", CollisionGroup::Transport},
    {"ladders", CollisionGroup::Ladders},
    {"lamps", CollisionGroup::Lamps},
    {"npcs", CollisionGroup::Npcs},
    {"exits", CollisionGroup::Exits},
    {"support", CollisionGroup::Support},
    {"boss", CollisionGroup::Boss},
    {"beams", CollisionGroup::Beams},
    {"actors", CollisionGroup::Actors},
};

const std::pair<std::string_view, std::uint32_t> factions[] = {
    {"player", FactionMask::Player},
    {"mirethan", FactionMask::Mirethan},
    {"gleamer", FactionMask::Gleamer},
    {"arcwraith", FactionMask::Arcwraith},
    {"barrel", FactionMask::Barrel},
};

const std::pair<std::string_view, DamageType> damageTypes[] = {
    {"normal", DamageType::Normal},
    {"crush", DamageType::Crush},
    {"wood_crush", DamageType::WoodCrush},
    {"pressure", DamageType::Pressure},
    {"weak", DamageType::Weak},
    {"tile", DamageType::Tile},
    {"reduced", DamageType::Reduced},
    {"enemy_and_tile", DamageType::EnemyAndTile},
    {"barrier", DamageType::Barrier},
};

const std::pair<std::string_view, AttackType> attackTypes[] = {
    {"player", AttackType::Player},
    {"wall", AttackType::Wall},
    {"contact", AttackType::Contact},
    {"projectile", AttackType::Projectile},
    {"turtle_projectile", AttackType::TurtleProjectile},
    {"laser", AttackType::Laser},
};

const std::pair<std::string_view, SpecialType> specialTypes[] = {
    {"player", SpecialType::Player},
    {"player_proxy", SpecialType::PlayerProxy},
    {"fallblock", SpecialType::Fallblock},
    {"pool", SpecialType::Pool},
    {"bouncer", SpecialType::Bouncer},
    {"ladder", SpecialType::Ladder},
    {"boss_core", SpecialType::BossCore},
    {"barrier", SpecialType::Barrier},
    {"generator", SpecialType::Generator},
    {"teleporter", SpecialType::Teleporter},
};

} // namespace

std::uint32_t parseCollisionGroup(const std::string& name) { return lookUp(collisionGroups, name); }

std::uint32_t parseCollisionMask(const std::string& text) { return parseMask(text, parseCollisionGroup); }

std::uint32_t parseFaction(const std::string& name) { return lookUp(factions, name); }

std::uint32_t parseFactionMask(const std::string& text) { return parseMask(text, parseFaction); }

DamageType parseDamageType(const std::string& name) { return lookUp(damageTypes, name); }

AttackType parseAttackType(const std::string& name) { return lookUp(attackTypes, name); }

SpecialType parseSpecialType(const std::string& name) { return lookUp(specialTypes, name); }

} // namespace zor
