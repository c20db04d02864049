#pragma once
// A level's entity record: the persistent actors and resources a checkpoint keeps, read
// back when the level is entered again. u16 count, then per entity the type code (0), the
// game-object kind (0 actor, 1 resource), the u16 name index of its definition and the
// object's own save record.

#include <cstdint>
#include <vector>

namespace zor {

class ByteReader;
class Entity;
class GameObject;
class Randomizer;
class StringTable;
class StringTableDynamic;

// Replaces `record` by the record of the actors and resources of `entities`, in their
// order; other entities have no place in it and are left out. Names go into `names`. A list
// over the count field still gives its whole record: the save's length check refuses it.
void writeEntities(const std::vector<Entity*>& entities, std::vector<std::uint8_t>& record,
                   StringTableDynamic& names);

// Appends the game objects of a record, made, loaded and set up but not registered; the
// caller owns them. Stops at the first entity of another type or kind, of a definition no
// longer registered, or cut short: the reader's overflow flag is set and what was read
// before stays in `out`.
void readEntities(ByteReader& reader, const StringTable& names, Randomizer& random, std::vector<GameObject*>& out);

} // namespace zor
