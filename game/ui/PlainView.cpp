#include "game/ui/PlainView.h"

#include "game/world/World.h"
#include "game/world/entity/ExitObject.h"
#include "game/world/entity/ShapeObject.h"
#include "game/world/SharedConstants.h"

#include "Framework/graphics/screen/Screen.h"
#include "Framework/system/SystemComponents.h"

#include <algorithm>
#include <cmath>

namespace zor {

namespace {

const PackedColor Ground = PackedColor::fromChannels(14, 12, 18, 255);
const PackedColor SolidCell = PackedColor::fromChannels(120, 92, 60, 255);
const PackedColor PlayerBody = PackedColor::fromChannels(90, 230, 110, 255);
const PackedColor ActorBody = PackedColor::fromChannels(230, 80, 70, 255);
const PackedColor OtherBody = PackedColor::fromChannels(240, 210, 80, 255);
const PackedColor ExitBody = PackedColor::fromChannels(90, 150, 250, 255);
const PackedColor ShapeBody = PackedColor::fromChannels(80, 220, 220, 255);

PackedColor colorOf(const Entity& entity, const World& world) {
    if (&entity == world.player()) return PlayerBody;
    switch (entity.type()) {
    case EntityType::Exit: return ExitBody;
    case EntityType::Shape: return ShapeBody;
    case EntityType::GameObject:
        return static_cast<const GameObject&>(entity).kind() == GameObjectKind::Actor ? ActorBody : OtherBody;
    default: return OtherBody;
    }
}

const PhysicalObject* physicalObjectOf(const Entity& entity) {
    switch (entity.type()) {
    case EntityType::GameObject: return &static_cast<const GameObject&>(entity).physicalObject;
    case EntityType::Exit: return &static_cast<const ExitObject&>(entity).physicalObject;
    case EntityType::Shape: return &static_cast<const ShapeObject&>(entity).physicalObject;
    default: return nullptr;
    }
}

} // namespace

PlainView::PlainView(SystemComponents* components, World& world) : m_components(components), m_world(world) {}

void PlainView::render(const UpdateRecord&) {
    if (!m_components || !m_components->primitiveBatch) return;
    PrimitiveBatch& batch = *m_components->primitiveBatch;
    batch.modelView = fpMatrix4::identity();
    batch.modelViewChanged = true;
    batch.addFilledRect(Screen::currentViewport().visibleArea, Ground);
    batch.flush();
    if (!m_world.level) return;
    batch.modelView = m_world.camera.viewMatrix;
    batch.modelViewChanged = true;
    drawCells(batch);
    drawBodies(batch);
    batch.flush();
}

void PlainView::drawCells(PrimitiveBatch& batch) {
    const PersistentTileMap& grid = *m_world.level->tileMap;
    const fpRect& view = m_world.camera.visibleRect;
    const std::int32_t firstColumn = std::max(std::int32_t(std::floor(view.x / TileSize)), 0);
    const std::int32_t firstRow = std::max(std::int32_t(std::floor(view.y / TileSize)), 0);
    const std::int32_t lastColumn = std::min(std::int32_t(std::floor(view.right() / TileSize)), grid.width() - 1);
    const std::int32_t lastRow = std::min(std::int32_t(std::floor(view.bottom() / TileSize)), grid.height() - 1);
    for (std::int32_t row = firstRow; row <= lastRow; ++row)
        for (std::int32_t column = firstColumn; column <= lastColumn; ++column)
            if (*grid.cell(column, row) & TileBits::Solid)
                batch.addFilledRect(fpRect(float(column) * TileSize, float(row) * TileSize, TileSize, TileSize),
                                    SolidCell);
}

void PlainView::drawBodies(PrimitiveBatch& batch) {
    const fpRect& view = m_world.camera.visibleRect;
    for (const auto& [id, entity] : m_world.entities()) {
        const PhysicalObject* physical = physicalObjectOf(*entity);
        if (!physical || physical->bodies().empty()) continue;
        const PackedColor color = colorOf(*entity, m_world);
        for (const PhysicalBody& body : physical->bodies()) {
            const fpRect bounds = body.getBounds();
            if (rectsOverlap(bounds, view)) batch.addRectOutline(bounds, color);
        }
    }
}

} // namespace zor
