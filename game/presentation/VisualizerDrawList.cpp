// The world's draw list: what is in view, in painter's order, handed to the drawing of its
// kind.

#include "game/presentation/Visualizer.h"

#include "Framework/graphics/screen/Screen.h"
#include "game/definitions/EffectDefinition.h"
#include "game/definitions/QuestDefinition.h"
#include "game/presentation/TileLayerDrawing.h"
#include "game/presentation/WorldQuads.h"
#include "game/world/World.h"
#include "game/world/entity/Beam.h"
#include "game/world/entity/EffectObject.h"

#include <algorithm>

namespace zor::presentation {

namespace {

constexpr std::uint32_t NpcCollisionGroup = 0x4000;

float zOf(const Sprite& sprite) { return sprite.localState().z; }

// The NPC the current quest marks on this level; null when it marks none here.
const std::string* markedNpc(const World& world) {
    const std::vector<std::shared_ptr<QuestDefinition>>& quests = questRegistry().definitions();
    const std::int32_t index = world.progress.questIndex;
    if (!world.level || index < 0 || std::size_t(index) >= quests.size()) return nullptr;
    const QuestDefinition& quest = *quests[std::size_t(index)];
    if (quest.markerKind != QuestMarkerKind::Npc || quest.markerLevel != world.level->name) return nullptr;
    return &quest.markerTarget;
}

bool inTileDamageView(const fpVector2& p, const fpRect& view) {
    return p.x >= view.x - 20 && p.y >= view.y - 20 && p.x < view.x + view.w + 20 && p.y < view.y + view.h + 20;
}

} // namespace

void Visualizer::buildDrawList() {
    const fpRect& view = m_camera.visibleRect;
    m_drawList.clear();
    const auto append = [this](DrawEntry entry) {
        entry.order = std::uint32_t(m_drawList.size());
        m_drawList.push_back(entry);
    };
    if (m_world.level) {
        const float virtualWidth = Screen::currentViewport().virtualWidth;
        for (const TileLayerGrid& layer : m_world.level->layers)
            append(DrawEntry::layer(levelDepthToZ(layer.depth, virtualWidth), layer));
    }
    if (m_decorations) m_decorations->collect(view, m_drawList);
    for (auto& [id, record] : m_tileDamage) {
        const fpVector2 position(record.sprite->localState().x, record.sprite->localState().y);
        if (inTileDamageView(position, view)) append(DrawEntry::sprite(zOf(*record.sprite), 200, *record.sprite));
    }
    const std::string* npc = m_questSign ? markedNpc(m_world) : nullptr;
    for (auto& [id, record] : m_gameObjects) {
        if (!record.visible) continue;
        const GameObjectDefinition& definition = record.entity->gameObjectDefinition();
        append(DrawEntry::sprite(zOf(*record.sprite), definition.renderPriority, *record.sprite));
        if (npc && (definition.collisionGroup & NpcCollisionGroup) && definition.name == *npc) {
            const fpVector2 position = record.entity->getPosition();
            m_questSign->setPosition(position.x, position.y);
            m_questSign->update(0.0f, false);
            append(DrawEntry::sprite(zOf(*m_questSign), definition.renderPriority, *m_questSign));
        }
    }
    for (auto& [id, record] : m_beams) {
        const std::int32_t priority = record.entity->definition->renderPriority;
        append(DrawEntry::beam(priority, record));
        if (record.endSprite && record.endSprite->localState().a > 0.0f)
            append(DrawEntry::sprite(zOf(*record.endSprite), priority + 1, *record.endSprite));
    }
    for (auto& [id, record] : m_effects)
        append(DrawEntry::sprite(zOf(*record.sprite), record.entity->definition->renderPriority, *record.sprite));
    std::stable_sort(m_drawList.begin(), m_drawList.end(), drawOrderLess);
}

void Visualizer::drawList(WorldQuads& quads) {
    const std::shared_ptr<Level>& level = m_world.level;
    const TileLayerView layerView{m_camera.visibleRect, Screen::currentViewport().virtualWidth, m_viewUnit};
    for (const DrawEntry& entry : m_drawList) {
        switch (entry.kind) {
        case DrawEntry::TileLayer:
            if (level && level->library) drawTileLayer(quads, *level, entry.asLayer(), m_tiles, layerView);
            break;
        case DrawEntry::DecalKind: quads.add(*entry.asDecal().texture, entry.asDecal().quad); break;
        case DrawEntry::SpriteKind:
            // A full batch is flushed first: a sprite's quads then fit unless it alone is larger.
            if (quads.batch().count() >= quads.batch().capacity()) quads.flushFull();
            entry.asSprite().draw(quads.batch());
            break;
        case DrawEntry::BeamKind: break;  // no beam drawing yet: it comes with the beams' segments
        }
    }
}

} // namespace zor::presentation
