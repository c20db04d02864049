#include "Framework/system/SystemComponents.h"

#include <utility>

namespace zor {

SystemComponents::SystemComponents(std::shared_ptr<QuadBatch> quads, std::shared_ptr<PrimitiveBatch> primitive,
                                   std::shared_ptr<PrimitiveBatch3d> primitive3d, std::shared_ptr<ModelCache> models,
                                   std::shared_ptr<FontSet> fonts, std::shared_ptr<GameSession> session)
    : quadBatch(std::move(quads)),
      primitiveBatch(std::move(primitive)),
      primitiveBatch3d(std::move(primitive3d)),
      modelCache(std::move(models)),
      fontSet(std::move(fonts)),
      gameSession(std::move(session)),
      spriteManagers(std::make_unique<SpriteManagers>()) {
    if (fontSet) {
        debugFont = &fontSet->require("debug");
        debugSmallFont = &fontSet->require("debug_small");
    }
}

std::shared_ptr<SystemComponents>& systemComponents() {
    static std::shared_ptr<SystemComponents> components;
    return components;
}

} // namespace zor
