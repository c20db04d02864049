#pragma once
// Names that definition files use for masks and codes. Every parser compares exactly
// (case-sensitive, no trimming) and gives 0 for a name it does not know.

#include <cstdint>
#include <string>

namespace zor {

// Collision group bits of game objects and beams.
namespace CollisionGroup {
constexpr std::uint32_t None = 0x0;
constexpr std::uint32_t Player = 0x1;
constexpr std::uint32_t Enemies = 0x2;
constexpr std::uint32_t HardEnemies = 0x4;
constexpr std::uint32_t Rocks = 0x8;
constexpr std::uint32_t Tiles = 0x10;
constexpr std::uint32_t Items = 0x20;
constexpr std::uint32_t Projectiles = 0x40;
constexpr std::uint32_t Trigger = 0x80;
constexpr std::uint32_t Pools = 0x100;
constexpr std::uint32_t WallEnemies = 0x200;
constexpr std::uint32_t Bounds = 0x400;
constexpr std::uint32_t Transport = 0x800;
constexpr std::uint32_t Ladders = 0x1000;
constexpr std::uint32_t Lamps = 0x2000;
constexpr std::uint32_t Npcs = 0x4000;
constexpr std::uint32_t Exits = 0x8000;
constexpr std::uint32_t Support = 0x10000;
constexpr std::uint32_t Boss = 0x20000;
constexpr std::uint32_t Beams = 0x40000;
constexpr std::uint32_t Actors = Player | Enemies | HardEnemies | Boss;
} // namespace CollisionGroup

// Faction bits of an actor's allies and enemies.
namespace FactionMask {
constexpr std::uint32_t None = 0;
constexpr std::uint32_t Player = 1;
constexpr std::uint32_t Mirethan = 2;
constexpr std::uint32_t Gleamer = 4;
constexpr std::uint32_t Arcwraith = 8;
constexpr std::uint32_t Barrel = 16;
} // namespace FactionMask

// Codes 3, 6 (suicide) and 8 (fall) have no name in the data; the game makes them in code.
enum class DamageType : std::int32_t {
    Normal = 0,
    Crush = 1,
    WoodCrush = 2,
    Unnamed = 3,
    Pressure = 4,
    Weak = 5,
    Suicide = 6,
    Tile = 7,
    Fall = 8,
    Reduced = 9,
    EnemyAndTile = 10,
    Barrier = 11,
};

enum class AttackType : std::int32_t {
    Player = 0,
    Wall = 1,
    Contact = 2,
    Projectile = 3,
    TurtleProjectile = 4,
    Laser = 5,
};

enum class SpecialType : std::int32_t {
    None = 0,
    Player = 1,
    PlayerProxy = 2,
    Fallblock = 3,
    Pool = 4,
    Bouncer = 5,
    Ladder = 6,
    BossCore = 7,
    Barrier = 8,
    Generator = 9,
    Teleporter = 10,
};

std::uint32_t parseCollisionGroup(const std::string& name);
// One name, or names separated by ";" (empty pieces are skipped), OR-ed together.
std::uint32_t parseCollisionMask(const std::string& text);
std::uint32_t parseFaction(const std::string& name);
std::uint32_t parseFactionMask(const std::string& text);
DamageType parseDamageType(const std::string& name);
AttackType parseAttackType(const std::string& name);
SpecialType parseSpecialType(const std::string& name);

} // namespace zor
