#pragma once
// A resource lying in the level: an ore, a gem, an orb, a refill or a bag of loot.

#include "game/definitions/ResourceDefinition.h"
#include "game/world/entity/GameObject.h"
#include "game/world/progress/InventorySlotList.h"

#include <memory>

namespace zor {

class ResourceObject final : public GameObject {
public:
    explicit ResourceObject(std::shared_ptr<const ResourceDefinition> definition);

    // After the game-object record: the contents as a slot list, then the remaining life
    // time (cut short, it stays as it was).
    void load(ByteReader& reader, const StringTable& names) override;
    void save(ByteWriter& writer, StringTableDynamic& names) const override;

    const ResourceDefinition& definition() const { return *m_definition; }

    // What a bag of loot carries.
    InventorySlotList contents;
    // Raised once the full-pouch message was shown for this resource.
    bool inventoryFullShown = false;
    float remainingLifeTime;  // seconds, from the definition unless the spawner says otherwise

private:
    std::shared_ptr<const ResourceDefinition> m_definition;
};

} // namespace zor
