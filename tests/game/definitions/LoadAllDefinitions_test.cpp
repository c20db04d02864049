// The load-all job on the threaded work queue, over the sample data of the game data
// folder. The registries, the machine tables and the job's done flag live as long as the
// process, so every case runs in a fresh process of its own.

#include "game/definitions/LoadAllDefinitions.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <variant>
#include <vector>

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include "Framework/audio/SoundFileList.h"
#include "Framework/audio/SoundList.h"
#include "Framework/core/io/ByteReader.h"
#include "Framework/core/io/Files.h"
#include "Framework/core/math/Randomizer.h"
#include "Framework/core/threads/WorkQueue.h"
#include "Framework/core/threads/WorkerFailure.h"
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
#include "tests/support/common/TempFolder.h"

namespace zor {
namespace {

namespace fs = std::filesystem;

// The child's failures are shown by the parent as the child's error output.
[[noreturn]] void exitWithFailures() {
    const ::testing::TestResult& result = *::testing::UnitTest::GetInstance()->current_test_info()->result();
    for (int i = 0; i < result.total_part_count(); ++i) {
        const ::testing::TestPartResult& part = result.GetTestPartResult(i);
        if (part.failed())
            std::fprintf(stderr, "%s:%d: %s\n", part.file_name() ? part.file_name() : "?", part.line_number(),
                         part.message());
    }
    std::fflush(stderr);
    std::exit(::testing::Test::HasFailure() ? 1 : 0);
}

void inFreshProcess(const std::function<void()>& body) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            body();
            exitWithFailures();
        },
        ::testing::ExitedWithCode(0), "");
}

// Runs the job as the first game state does, posted twice; returns the text the main
// thread would hand to the load-error handler, or "" when the jobs finished.
std::string runOnWorker() {
    ThreadedWorkQueue queue;
    queue.post(&loadAllDefinitions);
    queue.post(&loadAllDefinitions);
    std::string failure;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!reportWorkerFailure([&](const std::string& text) { failure = text; }) && queue.hasPendingWork()) {
        if (std::chrono::steady_clock::now() > deadline) {
            ADD_FAILURE() << "the job did not finish";
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return failure;
}

// How many definition elements a file of the game data folder holds.
std::size_t elementsIn(const std::string& file, const char* element) {
    pugi::xml_document document;
    EXPECT_TRUE(document.load_file(("BundlePC/" + file).c_str())) << file;
    std::size_t count = 0;
    for (const pugi::xml_node node : document.document_element().children(element)) {
        (void)node;
        ++count;
    }
    return count;
}

// The game data of the build with the user folder in a temporary folder.
struct GameData {
    test::TempFolder user;
    test::ScopedEnv userFolder{"ZOR_USER_DIR", user.path().string()};

    GameData() { initFileSystem("BundlePC"); }
    // A copy of the sample data without `removed` (names below the game data folder).
    explicit GameData(test::TempFolder& copy, const std::vector<std::string>& removed) {
        fs::copy("BundlePC/Definitions", copy / "Definitions", fs::copy_options::recursive);
        fs::copy_file("BundlePC/patchsets.bin", copy / "patchsets.bin");
        for (const auto& name : removed)
            fs::remove(copy / name);
        initFileSystem(copy.path().string());
    }
};

template <class T>
bool hasRecord(const DefinitionRegistry<T>& registry, const std::string& name) {
    return registry.contains(name);
}

void expectRegistered(bool present, const std::string& what, const std::string& name) {
    EXPECT_TRUE(present) << what << " '" << name << "' is not defined";
}

void expectEffect(const std::string& name, const std::string& user) {
    if (!name.empty())
        expectRegistered(hasEffectDefinition(name), "effect (" + user + ")", name);
}

// Every name the sample data gives another record resolves, so the world and the
// simulation can rely on it.
void expectCrossReferencesResolve() {
    for (const auto& actor : actorRegistry().definitions()) {
        const std::string& a = actor->name;
        if (!actor->behavior.empty())
            expectRegistered(behaviorMachineTable().count(actor->behavior) == 1, "behaviour of " + a, actor->behavior);
        if (!actor->animation.empty())
            expectRegistered(animationMachineTable().count(actor->animation) == 1, "animation of " + a,
                             actor->animation);
        for (const std::string* resource : {&actor->dropResource, &actor->goodDropResource})
            if (!resource->empty())
                expectRegistered(hasRecord(resourceRegistry(), *resource), "drop of " + a, *resource);
        if (!actor->projectileOnDeath.empty())
            expectRegistered(hasRecord(projectileRegistry(), actor->projectileOnDeath), "death projectile of " + a,
                             actor->projectileOnDeath);
        if (!actor->maxCountGroup.empty())
            expectRegistered(hasRecord(maxCountRegistry(), actor->maxCountGroup), "group of " + a,
                             actor->maxCountGroup);
        if (!actor->firstConversation.empty())
            expectRegistered(hasConversation(actor->firstConversation), "conversation of " + a,
                             actor->firstConversation);
        for (const std::string* effect : {&actor->attackedEffect, &actor->endEffect, &actor->drainWaterEffect,
                                          &actor->runningEffect, &actor->steamJumpEffect,
                                          &actor->steamJumpTrailEffect, &actor->slideEffect})
            expectEffect(*effect, a);
        for (const AttachedBeam& beam : actor->beams)
            expectRegistered(findBeamDefinition(beam.definition) != nullptr, "beam of " + a, beam.definition);
        for (const auto& weapon : actor->weapons) {
            // A laser's shot is a beam.
            if (!weapon.projectileName.empty())
                expectRegistered(weapon.attackType == AttackType::Laser
                                     ? findBeamDefinition(weapon.projectileName) != nullptr
                                     : hasRecord(projectileRegistry(), weapon.projectileName),
                                 "shot of " + weapon.name, weapon.projectileName);
            if (!weapon.requiredUpgrade.empty())
                expectRegistered(hasRecord(upgradeRegistry(), weapon.requiredUpgrade), "upgrade of " + weapon.name,
                                 weapon.requiredUpgrade);
            for (const std::string* effect :
                 {&weapon.attackEffect, &weapon.missEffect, &weapon.invulnerableTargetEffect})
                expectEffect(*effect, weapon.name);
        }
        for (const auto& tool : actor->tools) {
            for (const std::string* upgrade : {&tool.requiredUpgrade, &tool.countedUpgrade})
                if (!upgrade->empty())
                    expectRegistered(hasRecord(upgradeRegistry(), *upgrade), "upgrade of tool " + tool.name, *upgrade);
            if (tool.isBuilding)
                expectRegistered(hasRecord(actorRegistry(), tool.name), "building", tool.name);
        }
    }
    for (const auto& projectile : projectileRegistry().definitions()) {
        expectEffect(projectile->detonationEffect, projectile->name);
        if (!projectile->detonationSpawn.empty())
            expectRegistered(hasRecord(actorRegistry(), projectile->detonationSpawn) ||
                                 hasRecord(resourceRegistry(), projectile->detonationSpawn),
                             "spawn of " + projectile->name, projectile->detonationSpawn);
        if (!projectile->maxCountGroup.empty())
            expectRegistered(hasRecord(maxCountRegistry(), projectile->maxCountGroup), "group", projectile->maxCountGroup);
    }
    for (const auto& resource : resourceRegistry().definitions()) {
        expectEffect(resource->pickupEffect, resource->name);
        if (!resource->spawnActor.empty())
            expectRegistered(hasRecord(actorRegistry(), resource->spawnActor), "spawn", resource->spawnActor);
        if (!resource->spawnProjectile.empty())
            expectRegistered(hasRecord(projectileRegistry(), resource->spawnProjectile), "spawn",
                             resource->spawnProjectile);
        if (!resource->giveUpgrade.empty())
            expectRegistered(hasRecord(upgradeRegistry(), resource->giveUpgrade), "gift", resource->giveUpgrade);
    }
    for (const auto& [name, index] : shopRegistry().nameIndex()) {
        const ShopDefinition& shop = *shopRegistry().definitions()[static_cast<std::size_t>(index)];
        expectRegistered(findCharacterDefinition(shop.character) != nullptr, "keeper of " + name, shop.character);
        for (const auto& group : shop.upgradeGroups)
            for (const auto& upgrade : group)
                expectRegistered(hasRecord(upgradeRegistry(), upgrade), "ware of " + name, upgrade);
    }
    for (const auto& upgrade : upgradeRegistry().definitions())
        for (const std::string* other : {&upgrade->unhiddenByUpgrade, &upgrade->unlockedByUpgrade})
            if (!other->empty())
                expectRegistered(hasRecord(upgradeRegistry(), *other), "condition of " + upgrade->name, *other);
    for (const auto& level : findExperienceDefinition("AllLevels")->levels)
        if (!level.upgradeName.empty())
            expectRegistered(hasRecord(upgradeRegistry(), level.upgradeName), "unlock", level.upgradeName);
    Randomizer randomizer(7, 11);
    for (const auto& conversation : conversationRegistry().definitions()) {
        if (!conversation->shop.empty())
            expectRegistered(findShopDefinition(conversation->shop) != nullptr, "shop of " + conversation->name,
                             conversation->shop);
        std::vector<const DialogDefinition*> dialogs;
        for (const auto& entry : conversation->sequence) {
            if (const auto* random = dynamic_cast<const RandomSequenceEntry*>(entry.get()))
                for (const auto& dialog : random->dialogs())
                    dialogs.push_back(dialog.get());
            else
                dialogs.push_back(entry->dialog(randomizer));
        }
        for (const DialogDefinition* dialog : dialogs)
            for (const DialogEntry& line : dialog->entries) {
                expectRegistered(findCharacterDefinition(line.speaker) != nullptr, "speaker", line.speaker);
                for (const auto& next : line.next)
                    expectRegistered(next.empty() || dialog->entryIndex.count(next) == 1,
                                     "line of " + conversation->name, next);
            }
    }
    const QuestDefinition* previous = nullptr;
    for (const auto& quest : questRegistry().definitions()) {
        const std::string& q = quest->name;
        for (const auto& [character, conversation] : quest->conversations) {
            expectRegistered(findCharacterDefinition(character) != nullptr, "character of " + q, character);
            // The quest tracker offers the conversation to the actor of that name.
            expectRegistered(hasRecord(actorRegistry(), character), "NPC of " + q, character);
            expectRegistered(hasConversation(conversation), "conversation of " + q, conversation);
        }
        if (quest->goalType == QuestGoalType::TalkTo)
            expectRegistered(hasRecord(actorRegistry(), quest->goalValue), "NPC to talk to in " + q,
                             quest->goalValue);
        if (quest->goalType == QuestGoalType::HaveUpgrade)
            expectRegistered(hasRecord(upgradeRegistry(), quest->goalValue), "upgrade of " + q, quest->goalValue);
        if (quest->markerKind == QuestMarkerKind::Npc)
            expectRegistered(hasRecord(actorRegistry(), quest->markerTarget), "marked NPC of " + q,
                             quest->markerTarget);
        for (const std::string* level : {&quest->markerLevel, &quest->goalValue}) {
            if (level->empty() || (level == &quest->goalValue && quest->goalType != QuestGoalType::ReachLevel)) continue;
            expectRegistered(fs::exists("BundlePC/Levels/" + *level + ".xml"), "level of " + q, *level);
        }
        // Stepping back tests the previous goal, so it must be one the tracker can test.
        if (quest->requiresPrerequisite) {
            ASSERT_NE(previous, nullptr) << q;
            EXPECT_NE(previous->goalType, QuestGoalType::Scripted) << q;
            EXPECT_NE(previous->goalType, QuestGoalType::TalkTo) << q;
        }
        previous = quest.get();
    }
    for (const auto& beam : beamRegistry().definitions())
        if (!beam->disableUpgrade.empty())
            expectRegistered(hasRecord(upgradeRegistry(), beam->disableUpgrade), "beam switch", beam->disableUpgrade);
    for (const auto* machines : {&animationRegistry(), &behaviorRegistry()})
        for (const auto& machine : machines->definitions()) {
            std::set<std::string> states;
            for (const auto& state : machine->states)
                states.insert(state.name);
            expectRegistered(states.count(machine->initialState) == 1, "initial state of " + machine->name,
                             machine->initialState);
            for (const auto& state : machine->states)
                for (const auto& transition : state.transitions)
                    expectRegistered(states.count(transition.destination) == 1,
                                     "destination in " + machine->name + "/" + state.name, transition.destination);
        }
}

TEST(LoadAllDefinitions, LoadsTheWholeSampleDataOnce) {
    inFreshProcess([] {
        GameData data;
        EXPECT_EQ(runOnWorker(), "");

        // Posted twice, every file was read once.
        const struct {
            std::size_t loaded;
            const char* file;
            const char* element;
        } files[] = {
            {characterRegistry().definitions().size(), "Definitions/characters.xml", "Character"},
            {shopRegistry().definitions().size(), "Definitions/shops.xml", "Shop"},
            {materialRegistry().definitions().size(), "Definitions/materials.xml", "Material"},
            {maxCountRegistry().definitions().size(), "Definitions/maxcounts.xml", "Group"},
            {experienceRegistry().definitions().size(), "Definitions/experience.xml", "Levels"},
            {animationRegistry().definitions().size(), "Definitions/animations.xml", "Animation"},
            {behaviorRegistry().definitions().size(), "Definitions/behaviors.xml", "Machine"},
            {actorRegistry().definitions().size(), "Definitions/actors.xml", "Actor"},
            {projectileRegistry().definitions().size(), "Definitions/projectiles.xml", "Projectile"},
            {upgradeRegistry().definitions().size(), "Definitions/upgrades.xml", "Upgrade"},
            {resourceRegistry().definitions().size(), "Definitions/resources.xml", "Resource"},
            {effectRegistry().definitions().size(), "Definitions/effects.xml", "Effect"},
            {conversationRegistry().definitions().size(), "Definitions/conversations.xml", "Conversation"},
            {beamRegistry().definitions().size(), "Definitions/beams.xml", "Beam"},
            {questRegistry().definitions().size(), "Definitions/quests.xml", "Quest"},
            {environmentRegistry().definitions().size(), "Definitions/environments.xml", "Environment"},
        };
        for (const auto& f : files) {
            EXPECT_GT(f.loaded, 0u) << f.file;
            EXPECT_EQ(f.loaded, elementsIn(f.file, f.element)) << f.file;
        }
        EXPECT_EQ(inventoryItemRegistry().definitions().size(), resourceRegistry().nameIndex().size());
        EXPECT_EQ(animationMachineTable().size(), animationRegistry().nameIndex().size());
        EXPECT_EQ(behaviorMachineTable().size(), behaviorRegistry().nameIndex().size());

        // What the game code names.
        for (const char* actor : {"player", "lamp", "ladder", "jump_plate", "teleporter"})
            EXPECT_TRUE(actorRegistry().contains(actor)) << actor;
        EXPECT_EQ(findActorDefinition("player").specialType, SpecialType::Player);
        EXPECT_GE(findActorDefinition("player").weapons.size(), 4u);
        EXPECT_EQ(findMaxCountDefinition("buildings").maximumCount, 24);
        ASSERT_NE(findExperienceDefinition("AllLevels"), nullptr);
        EXPECT_GT(findExperienceDefinition("AllLevels")->levels.size(), 1u);
        EXPECT_EQ(animationMachineTable().count("PlayerLegs"), 1u);
        EXPECT_TRUE(projectileRegistry().contains("dynamite"));
        EXPECT_EQ(questByIndex(questIndexByName("q_savings")).name, "q_savings");
        // The value curve of the sample's silver: (4 x 3) ^ 1.5 + 10.
        EXPECT_EQ(findInventoryItemDefinition("silver_ore").value, 51);

        expectCrossReferencesResolve();
    });
}

TEST(LoadAllDefinitions, StopsAtTheFirstMissingFileInOrder) {
    inFreshProcess([] {
        test::TempFolder copy;
        GameData data(copy, {"Definitions/shops.xml"});
        EXPECT_EQ(runOnWorker(),
                  "Worker thread: Could not load ShopDefinitions from file 'Definitions/shops.xml', reason: Could not "
                  "read definitions file Definitions/shops.xml");
        EXPECT_EQ(characterRegistry().definitions().size(), elementsIn("Definitions/characters.xml", "Character"));
        EXPECT_TRUE(shopRegistry().definitions().empty());
        EXPECT_TRUE(materialRegistry().definitions().empty());
        EXPECT_TRUE(animationRegistry().definitions().empty());
        EXPECT_TRUE(actorRegistry().definitions().empty());
        EXPECT_TRUE(resourceRegistry().definitions().empty());
        EXPECT_TRUE(inventoryItemRegistry().definitions().empty());
        EXPECT_TRUE(environmentRegistry().definitions().empty());
        EXPECT_TRUE(animationMachineTable().empty());
        EXPECT_TRUE(behaviorMachineTable().empty());
    });
}

TEST(LoadAllDefinitions, InventoryItemsComeRightAfterTheResources) {
    inFreshProcess([] {
        test::TempFolder copy;
        GameData data(copy, {"Definitions/effects.xml"});
        EXPECT_EQ(runOnWorker(), "Worker thread: Could not load EffectDefinitions from file 'Definitions/effects.xml', "
                                 "reason: Could not read file Definitions/effects.xml");
        EXPECT_FALSE(resourceRegistry().definitions().empty());
        EXPECT_EQ(inventoryItemRegistry().definitions().size(), resourceRegistry().nameIndex().size());
        EXPECT_TRUE(conversationRegistry().definitions().empty());
        EXPECT_TRUE(animationMachineTable().empty());
    });
}

TEST(LoadAllDefinitions, MachinesAreBuiltBeforeThePatchLibraryIsRead) {
    inFreshProcess([] {
        test::TempFolder copy;
        GameData data(copy, {"patchsets.bin"});
        copy.write("patchsets.bin", std::string(11, '\0'));
        EXPECT_EQ(runOnWorker(), "Worker thread: Could not read patchsets.bin");
        EXPECT_FALSE(environmentRegistry().definitions().empty());
        EXPECT_FALSE(behaviorMachineTable().empty());
    });
}

TEST(LoadAllDefinitions, TruncatedPatchLibraryFailsTheJob) {
    inFreshProcess([] {
        test::TempFolder copy;
        GameData data(copy, {"patchsets.bin"});
        // Long enough for the size check and the string table, cut inside the sections.
        copy.write("patchsets.bin", std::string(12, '\0'));
        setPatchLibrarySectionReader([](ByteReader& reader, const StringTable&) {
            for (int section = 0; section < 4; ++section)
                reader.readU16();
        });
        EXPECT_EQ(runOnWorker(), "Worker thread: Could not read patchsets.bin: the file ends inside its sections");
    });
}

// Every cue name the sample data gives, with the record naming it; empty fields are left out.
std::vector<std::pair<std::string, std::string>> cuesNamedByDefinitions() {
    std::vector<std::pair<std::string, std::string>> cues;
    const auto add = [&cues](const std::string& user, std::initializer_list<const std::string*> names) {
        for (const std::string* name : names)
            if (!name->empty()) cues.emplace_back(*name, user);
    };
    const auto addObject = [&add](const std::string& user, const GameObjectDefinition& object) {
        add(user, {&object.softLandingSound, &object.collideSound, &object.headBumpSound});
    };
    for (const auto& actor : actorRegistry().definitions()) {
        const std::string user = "actor " + actor->name;
        addObject(user, *actor);
        add(user, {&actor->fallSound, &actor->criticalFallSound, &actor->spawnSound, &actor->endSound,
                   &actor->attackedSound, &actor->attackedInvulnerableSound, &actor->crushedSound,
                   &actor->idleSound, &actor->walkSound, &actor->slideSound, &actor->rumbleSound,
                   &actor->ladderSound, &actor->constantSound, &actor->walkOnSound});
        for (const auto& weapon : actor->weapons)
            add(user + " weapon " + weapon.name,
                {&weapon.attackSound, &weapon.missSound, &weapon.hitSound, &weapon.invulnerableTargetSound,
                 &weapon.chargingSound, &weapon.chargedSound, &weapon.constantAttackSound});
        for (const auto& tool : actor->tools)
            add(user + " tool " + tool.name, {&tool.useSound});
    }
    for (const auto& projectile : projectileRegistry().definitions())
        addObject("projectile " + projectile->name, *projectile);
    for (const auto& resource : resourceRegistry().definitions()) {
        addObject("resource " + resource->name, *resource);
        add("resource " + resource->name, {&resource->pickupSound});
    }
    for (const auto& material : materialRegistry().definitions()) {
        add("material " + material->name, {&material->destroyedSound, &material->walkSound});
        for (const auto& [weapon, reaction] : material->weaponMaterials)
            add("material " + material->name + "/" + weapon,
                {&reaction.damageSound, &reaction.noDamageSound, &reaction.mineralSound});
    }
    for (const auto& [name, index] : effectRegistry().nameIndex())
        add("effect " + name, {&effectRegistry().definitions()[static_cast<std::size_t>(index)]->sound});
    for (const auto& character : characterRegistry().definitions())
        add("character " + character->name, {&character->talkSound});
    for (const auto& [name, index] : beamRegistry().nameIndex()) {
        const BeamDefinition& beam = *beamRegistry().definitions()[static_cast<std::size_t>(index)];
        add("beam " + name, {&beam.constantSound, &beam.oneShotSound});
    }
    for (const auto& machine : behaviorRegistry().definitions())
        for (const auto& state : machine->states) {
            const auto cue = findName(state.properties, "SoundCue");
            if (cue == state.properties.end()) continue;
            if (const auto* text = std::get_if<std::string>(&cue->second.value.value))
                add("behaviour " + machine->name + "/" + state.name, {text});
        }
    return cues;
}

// A cue missing from the sound list plays nothing, without a word in the log.
TEST(LoadAllDefinitions, EveryCueTheGameNamesIsInTheSoundList) {
    inFreshProcess([] {
        GameData data;
        ASSERT_EQ(runOnWorker(), "");
        SoundList sounds;
        std::string error;
        ASSERT_TRUE(loadSoundList("Audio/sounds.xml", sounds, error)) << error;
        SoundFileList files;
        files.load();

        std::set<std::string> defined;
        for (const AudioCue& cue : sounds.cues) {
            EXPECT_TRUE(defined.insert(cue.name).second) << "cue '" << cue.name << "' is defined twice";
            EXPECT_FALSE(cue.samples.empty()) << cue.name;
            for (const AudioSample& sample : cue.samples) {
                const std::string name = "Sounds/" + sample.file;
                const std::string extension = files.find(name);
                EXPECT_FALSE(extension.empty()) << "sample '" << name << "' of " << cue.name << " is not listed";
                EXPECT_TRUE(extension.empty() || fs::exists("BundlePC/Audio/" + name + "." + extension))
                    << "sample '" << name << "' of " << cue.name << " was not made";
            }
        }

        const std::vector<std::pair<std::string, std::string>> named = cuesNamedByDefinitions();
        EXPECT_FALSE(named.empty());
        for (const auto& [cue, user] : named)
            expectRegistered(defined.count(cue) == 1, "sound cue (" + user + ")", cue);

        // Cues the game plays by fixed name.
        for (const char* cue :
             {"player_jump", "player_jump_double", "player_jump_steam", "jump_plate_jump", "enter_cave",
              "teleport", "light_time_depleted", "found_secret", "power_up", "player_pickup_research",
              "inventory_discard", "game_over", "menu_select", "show_banner", "new_destination", "sell_item",
              "level_up", "gaining_experience", "upgrade_unlocked", "boss_open_hatch", "laserbox_wake",
              "boss_become_vulnerable", "boss_vulnerable", "boss_respawn", "fallblock_rumble"})
            expectRegistered(defined.count(cue) == 1, "sound cue of the game", cue);
    });
}

} // namespace
} // namespace zor
