#pragma once
// Everything placed in a level besides its tiles. An entity is made by the World's
// spawners (or the save reader, or a beam builder), owned by the World's id table from
// registration until its deferred removal, and deleted through its virtual destructor,
// which gives its memory back to the pool of its size.
//
// Entities are made and destroyed on one thread at a time: the main thread, or the worker
// while it holds the game for a build; the id counter is not locked. Their pools are the
// locked ones: while the worker builds a level, the main thread draws the loader from
// pools of its own.

#include "Framework/core/math/Vector.h"
#include "Framework/core/memory/PooledObject.h"

#include <cstdint>

namespace zor {

class ByteReader;
class ByteWriter;
class StringTable;
class StringTableDynamic;
class World;

// The type codes; a game object is always 0 and tells its kinds apart itself.
enum class EntityType : std::int32_t {
    GameObject = 0,
    Effect = 1,
    Shape = 2,
    WorldText = 3,
    TileDamage = 4,
    Light = 5,
    Destination = 6,
    Beam = 7,
    Exit = 8,
};

// Which record of the level description placed an entity; (0, 0) for one placed by play.
struct PlacementKey {
    std::int32_t first = 0;
    std::int32_t second = 0;
};

inline bool operator==(const PlacementKey& a, const PlacementKey& b) {
    return a.first == b.first && a.second == b.second;
}

class Entity : public LockedPooledObject {
public:
    Entity(const Entity&) = delete;
    Entity& operator=(const Entity&) = delete;
    virtual ~Entity() = 0;

    virtual fpVector2 getPosition() const { return m_position; }
    virtual void setPosition(const fpVector2& position) { m_position = position; }
    // The position record: x, y as little-endian floats. A record cut short, or with a
    // coordinate that is not finite, sets the reader's overflow flag and places the entity
    // at (0, 0).
    virtual void load(ByteReader& reader, const StringTable& names);
    virtual void save(ByteWriter& writer, StringTableDynamic& names) const;
    // The start state before placement.
    virtual void reset() {}

    EntityType type() const { return m_type; }
    std::int32_t id() const { return m_id; }
    // Cleared once, when the World queues the entity for removal; a holder of its id must
    // then treat it as gone.
    bool alive() const { return m_alive; }

    PlacementKey placementKey;

    // The id the newest entity got; 0 before the first. Ids run on for the whole process.
    static std::int32_t lastIssuedId();

protected:
    // Takes the next id; alive.
    explicit Entity(EntityType type);

private:
    friend class World;

    fpVector2 m_position;
    EntityType m_type;
    bool m_alive = true;
    std::int32_t m_id;
};

} // namespace zor
