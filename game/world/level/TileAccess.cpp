#include "game/world/level/TileAccess.h"

#include "game/world/level/PatchLibraryTables.h"

#include "game/definitions/MaterialDefinition.h"

namespace zor {

namespace {

constexpr std::size_t OutsideType = 1;

const TileType& plainSolidType() {
    static const TileType solid = [] {
        TileType type;
        type.flags = TileType::Solid;
        return type;
    }();
    return solid;
}

} // namespace

const TileType& tileMaterialAt(const Level& level, std::int32_t column, std::int32_t row) {
    return level.library->tileTypes[TileWord::typeIndex(level.mainLayer().at(column, row))];
}

const TileType& tileMaterialAtChecked(const Level& level, std::int32_t column, std::int32_t row) {
    const std::vector<TileType>* types = level.library ? &level.library->tileTypes : nullptr;
    std::size_t index = OutsideType;
    if (!level.layers.empty() && level.mainLayer().contains(column, row))
        index = TileWord::typeIndex(level.mainLayer().at(column, row));
    if (types && index < types->size()) return (*types)[index];
    if (types && OutsideType < types->size()) return (*types)[OutsideType];
    return plainSolidType();
}

const MaterialDefinition& tileMaterialDefinition(const Level& level, std::int32_t column, std::int32_t row,
                                                 bool* registered) {
    static const MaterialDefinition plain;
    const std::shared_ptr<MaterialDefinition> found =
        findMaterialDefinitionOrNull(tileMaterialAtChecked(level, column, row).material);
    if (registered) *registered = found != nullptr;
    // Registered definitions live for the whole run.
    return found ? *found : plain;
}

} // namespace zor
