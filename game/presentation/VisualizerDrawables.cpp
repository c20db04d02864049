// The Visualizer's drawables: made when the World announces an entity, dropped when it
// announces its removal.

#include "game/presentation/Visualizer.h"

#include "game/definitions/BeamDefinition.h"
#include "game/definitions/EffectDefinition.h"
#include "game/definitions/MaterialDefinition.h"
#include "game/world/PersistentTileMap.h"
#include "game/world/SharedConstants.h"
#include "game/world/World.h"
#include "game/world/entity/Beam.h"
#include "game/world/entity/EffectObject.h"
#include "game/world/entity/LightObject.h"
#include "game/world/entity/TileDamage.h"
#include "game/world/entity/WorldText.h"
#include "game/world/level/PatchLibraryTables.h"

#include "Framework/graphics/sprite/ISpriteManager.h"

namespace zor::presentation {

void Visualizer::onEntityAdded(Entity* entity) {
    switch (entity->type()) {
    case EntityType::GameObject: return addGameObject(static_cast<GameObject&>(*entity));
    case EntityType::Effect: return addEffect(static_cast<EffectObject&>(*entity));
    case EntityType::WorldText: return addWorldText(static_cast<WorldText&>(*entity));
    case EntityType::TileDamage: return addTileDamage(static_cast<TileDamage&>(*entity));
    case EntityType::Light: return addLight(static_cast<LightObject&>(*entity));
    case EntityType::Beam: return addBeam(static_cast<Beam&>(*entity));
    default: return;  // shapes, destinations and exits show nothing
    }
}

void Visualizer::onEntityRemoved(Entity* entity) {
    // Erasing a record releases its sprites and text mesh.
    switch (entity->type()) {
    case EntityType::GameObject: m_gameObjects.erase(entity->id()); return;
    case EntityType::Effect: m_effects.erase(entity->id()); return;
    case EntityType::WorldText: m_worldTexts.erase(entity->id()); return;
    case EntityType::TileDamage: m_tileDamage.erase(entity->id()); return;
    case EntityType::Light: m_lights.erase(entity->id()); return;
    case EntityType::Beam: m_beams.erase(entity->id()); return;
    default: return;
    }
}

void Visualizer::addGameObject(GameObject& object) {
    const GameObjectDefinition& definition = object.gameObjectDefinition();
    GameObjectDrawable record;
    record.entity = &object;
    record.sprite = makeSprite(definition.sprite);
    if (!record.sprite) return;
    if (definition.playAllFrames) record.sprite->restart();
    record.current = record.previous = object.getPosition();
    record.step = m_updateCount;
    record.sprite->setPosition(record.current.x, record.current.y);
    record.sprite->update(0.0f, false);
    record.relativeBounds = record.sprite->computeBoundsRelative();
    m_gameObjects[object.id()] = std::move(record);
}

void Visualizer::addEffect(EffectObject& effect) {
    SpritePtr sprite = makeSprite(effect.definition->sprite);
    if (!sprite) {
        // Nothing to show: done at once, unless a light carries it.
        if (effect.lightId == 0) effect.finished = true;
        return;
    }
    sprite->playOnce();
    sprite->setUniformScale(effect.definition->scale);
    const fpVector2 position = effect.getPosition();
    sprite->setPosition(position.x, position.y);
    sprite->update(0.0f, false);
    m_effects[effect.id()] = {&effect, std::move(sprite)};
}

void Visualizer::addWorldText(WorldText& text) {
    WorldTextDrawable record;
    record.entity = &text;
    record.icon = makeSprite(text.iconSprite);
    if (record.icon) record.icon->restart();
    record.current = record.previous = text.getPosition();
    m_worldTexts[text.id()] = std::move(record);
}

void Visualizer::addTileDamage(TileDamage& damage) {
    const std::shared_ptr<Level>& level = m_world.level;
    if (!level || !level->library || level->layers.empty()) return;
    const fpVector2 position = damage.getPosition();
    const std::int32_t column = std::int32_t(position.x / TileSize);
    const std::int32_t row = std::int32_t(position.y / TileSize);
    const TileLayerGrid& layer = level->mainLayer();
    if (!layer.contains(column, row)) return;
    const std::size_t type = TileWord::typeIndex(layer.at(column, row));
    if (type >= level->library->tileTypes.size()) return;
    const std::shared_ptr<MaterialDefinition> material =
        findMaterialDefinitionOrNull(level->library->tileTypes[type].material);
    if (!material) return;
    SpritePtr sprite = makeSprite(material->crackSprite);
    if (!sprite) return;
    sprite->setPosition(position.x + 20.0f, position.y + 20.0f);
    sprite->update(0.0f, false);
    m_tileDamage[damage.id()] = {&damage, std::move(sprite)};
}

void Visualizer::addLight(LightObject& light) {
    LightDrawable record;
    record.entity = &light;
    if (!light.sprite.empty() && m_lightSprites) {
        record.sprite = m_lightSprites->createSprite(light.sprite);
        if (record.sprite) {
            record.sprite->setUniformScale(light.scale);
            if (light.loop)
                record.sprite->play();
            else
                record.sprite->playOnce();
        }
    }
    record.current = record.previous = light.getPosition();
    m_lights[light.id()] = std::move(record);
}

void Visualizer::addBeam(Beam& beam) {
    BeamDrawable record;
    record.entity = &beam;
    const BeamDefinition& definition = *beam.definition;
    if (definition.type == BeamType::Lightning) {
        const auto found = m_beamTextures.find(definition.textures);
        if (found != m_beamTextures.end()) record.textures = found->second;
    }
    record.endSprite = makeSprite(definition.endSprite);
    if (record.endSprite) {
        record.endSprite->setAlpha(0.0f);
        record.endSprite->restart();
    }
    m_beams[beam.id()] = std::move(record);
}

void Visualizer::stepGameObjects() {
    for (auto& [id, record] : m_gameObjects) {
        GameObject& object = *record.entity;
        const fpVector2 position = object.getPosition();
        const fpRect bounds(record.relativeBounds.x + position.x, record.relativeBounds.y + position.y,
                            record.relativeBounds.w, record.relativeBounds.h);
        record.visible = object.gameObjectDefinition().forceUpdateVisualization ||
                         rectsOverlap(bounds, m_camera.visibleRect);
        if (!record.visible) continue;
        record.previous = record.step == m_updateCount - 1 ? record.current : position;
        record.current = position;
        record.step = m_updateCount;
        record.sprite->setPosition(position.x, position.y);
    }
}

} // namespace zor::presentation
