#include "game/definitions/LoadAllDefinitions.h"

#include "game/definitions/ActorDefinition.h"
#include "game/definitions/BeamDefinition.h"
#include "game/definitions/CharacterDefinition.h"
#include "game/definitions/ConversationDefinition.h"
#include "game/definitions/EffectDefinition.h"
#include "game/definitions/EnvironmentDefinition.h"
#include "game/definitions/ExperienceDefinition.h"
#include "game/definitions/MachineDefinition.h"
#include "game/definitions/MachineTables.h"
#include "game/definitions/MaterialDefinition.h"
#include "game/definitions/MaxCountDefinition.h"
#include "game/definitions/PatchLibrary.h"
#include "game/definitions/ProjectileDefinition.h"
#include "game/definitions/QuestDefinition.h"
#include "game/definitions/ResourceDefinition.h"
#include "game/definitions/ShopDefinition.h"
#include "game/definitions/UpgradeDefinition.h"

#include <atomic>

namespace zor {

namespace {

// Written by the job on the worker thread; the main thread asks whether it has finished.
std::atomic<bool> g_definitionsLoaded{false};

} // namespace

void loadAllDefinitions() {
    if (g_definitionsLoaded)
        return;
    characterRegistry().loadFile("Definitions/characters.xml");
    shopRegistry().loadFile("Definitions/shops.xml");
    materialRegistry().loadFile("Definitions/materials.xml");
    maxCountRegistry().loadFile("Definitions/maxcounts.xml");
    experienceRegistry().loadFile("Definitions/experience.xml");
    animationRegistry().loadFile(kAnimationsFile);
    behaviorRegistry().loadFile(kBehaviorsFile);
    actorRegistry().loadFile("Definitions/actors.xml");
    projectileRegistry().loadFile("Definitions/projectiles.xml");
    upgradeRegistry().loadFile("Definitions/upgrades.xml");
    resourceRegistry().loadFile("Definitions/resources.xml");
    registerResourceInventoryItems();
    effectRegistry().loadFile("Definitions/effects.xml");
    conversationRegistry().loadFile("Definitions/conversations.xml");
    beamRegistry().loadFile("Definitions/beams.xml");
    questRegistry().loadFile("Definitions/quests.xml");
    environmentRegistry().loadFile("Definitions/environments.xml");
    buildAnimationMachines();
    buildBehaviorMachines();
    loadPatchSets();
    g_definitionsLoaded.store(true, std::memory_order_release);
}

bool allDefinitionsLoaded() {
    return g_definitionsLoaded.load(std::memory_order_acquire);
}

} // namespace zor
