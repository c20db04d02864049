#pragma once
// The shared drawing and data services handed to every game state.

#include "Framework/graphics/batch/QuadBatch.h"
#include "Framework/graphics/font/FontSet.h"
#include "Framework/graphics/primitive/PrimitiveBatch.h"
#include "Framework/graphics/primitive/PrimitiveBatch3d.h"
#include "Framework/graphics/sprite/SpriteManagers.h"
#include "Framework/system/ModelCache.h"

#include <memory>

namespace zor {

class GameSession;

class SystemComponents {
public:
    // A font set must hold "debug" and "debug_small" (CheckReleaseError naming the missing
    // one); without a font set, as in drawing tests, there are no debug fonts. The bundle
    // makes its own, empty sprite-manager registry.
    SystemComponents(std::shared_ptr<QuadBatch> quadBatch, std::shared_ptr<PrimitiveBatch> primitiveBatch,
                     std::shared_ptr<PrimitiveBatch3d> primitiveBatch3d, std::shared_ptr<ModelCache> modelCache,
                     std::shared_ptr<FontSet> fontSet = nullptr, std::shared_ptr<GameSession> gameSession = nullptr);
    virtual ~SystemComponents() = default;
    SystemComponents(const SystemComponents&) = delete;
    SystemComponents& operator=(const SystemComponents&) = delete;

    std::shared_ptr<QuadBatch> quadBatch;
    std::shared_ptr<PrimitiveBatch> primitiveBatch;
    std::shared_ptr<PrimitiveBatch3d> primitiveBatch3d;
    std::shared_ptr<ModelCache> modelCache;
    std::shared_ptr<FontSet> fontSet;
    Font* debugFont = nullptr;       // "debug", owned by the font set
    Font* debugSmallFont = nullptr;  // "debug_small", owned by the font set
    std::shared_ptr<GameSession> gameSession;
    // Sprite trees of a set must be gone before the registry is.
    std::unique_ptr<SpriteManagers> spriteManagers;
};

// The one bundle of the program, made by createServices and released by shutdownSystem.
std::shared_ptr<SystemComponents>& systemComponents();

} // namespace zor
