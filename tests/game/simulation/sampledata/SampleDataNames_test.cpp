// The names the game's rules spell out themselves, against the sample data: each must be
// registered, or the rule that uses it finds nothing when it fires. And every way between
// levels, exits and links alike, must end in a level that builds, at an entry it has.

#include "game/definitions/ActorDefinition.h"
#include "game/definitions/CharacterDefinition.h"
#include "game/definitions/ConversationDefinition.h"
#include "game/definitions/EffectDefinition.h"
#include "game/definitions/ExperienceDefinition.h"
#include "game/definitions/InventoryItemDefinition.h"
#include "game/definitions/QuestDefinition.h"
#include "game/definitions/ResourceDefinition.h"
#include "game/definitions/UpgradeDefinition.h"
#include "game/world/level/LevelBuilder.h"
#include "game/world/level/PatchLibraryTables.h"

#include "Framework/core/localization/LocalizationHandler.h"
#include "Framework/core/math/Randomizer.h"
#include "Framework/core/settings/SettingsHandler.h"

#include "tests/support/game/GameHarness.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace zor {
namespace {

class SampleDataNames : public ::testing::Test {
protected:
    // A sample game loads the definitions, settings and patch library.
    void SetUp() override {
        test::HarnessOptions options(1, "shalebury");
        options.sampleData = true;
        harness = std::make_unique<test::GameHarness>(options);
    }

    // Null when the level does not build.
    static std::shared_ptr<Level> build(const std::string& name) {
        try {
            std::shared_ptr<PersistentLevelInfo> info;
            Randomizer seeds(1, 2);
            return LevelBuilder().buildLevel(name, info, seeds);
        } catch (const std::exception&) {
            return nullptr;
        }
    }

    std::unique_ptr<test::GameHarness> harness;
};

TEST_F(SampleDataNames, EveryNameTheRulesSpellOutIsRegistered) {
    enum Kind { Actor, Resource, Effect, Conversation, Line };
    struct Name {
        Kind kind;
        const char* name;
    };
    const Name names[] = {
        // The player, and the buildings its tools place.
        {Actor, "player"}, {Actor, "lamp"}, {Actor, "ladder"}, {Actor, "jump_plate"}, {Actor, "teleporter"},
        // The dead player's bag, the orbs of a burst, the refills of a spawner's kind, and
        // the gems and eggs a level slice asks for.
        {Resource, "loot_bag"}, {Resource, "orb"}, {Resource, "refill_health"}, {Resource, "refill_water"},
        {Resource, "refill_light"}, {Resource, "gem+0"}, {Resource, "egg_small"}, {Resource, "egg_large"},
        // Landing, double jump, pools, light hits, crushed resources and bouncers.
        {Effect, "land_puff"}, {Effect, "double_jump"}, {Effect, "water_splash"}, {Effect, "acid_splash"},
        {Effect, "hit_light"}, {Effect, "resource_destroyed"}, {Effect, "spore_fx"},
        // The talks of a wake in the town.
        {Conversation, "death_first"}, {Conversation, "death_fallback"}, {Conversation, "death_fall"},
        // Messages over the player, pickup texts, banners and the saved notice.
        {Line, "need_water"}, {Line, "buildings_max"}, {Line, "buildings_out_of_stock"}, {Line, "lamps_too_close"},
        {Line, "light_time_depleted"}, {Line, "inventory_full"}, {Line, "resource_pickup"},
        {Line, "banner_upgrade_unlocked"}, {Line, "banner_shop_unlocked"}, {Line, "found_secret"},
        {Line, "ui_saved_game"}};

    LocalizationHandler localization;
    localization.init("Language");
    ASSERT_EQ(localization.currentLanguage(), "en");
    std::vector<std::string> missing;
    for (const Name& name : names) {
        bool found = false;
        switch (name.kind) {
        case Actor: found = findActorDefinitionPtr(name.name) != nullptr; break;
        case Resource: found = findResourceDefinitionPtr(name.name) != nullptr; break;
        case Effect: found = effectRegistry().find(name.name) != nullptr; break;
        case Conversation: found = hasConversation(name.name); break;
        case Line: found = localization.findLine(name.name) != nullptr; break;
        }
        if (!found) missing.emplace_back(name.name);
    }
    EXPECT_TRUE(missing.empty()) << ::testing::PrintToString(missing);
}

// Texts the definitions name, shown by the screens: a missing one reads "!LINE MISSING!".
TEST_F(SampleDataNames, EveryTextTheDefinitionsNameIsInTheEnglishTable) {
    std::set<std::string> ids;
    const auto addDialog = [&](const DialogDefinition& dialog) {
        for (const DialogEntry& entry : dialog.entries) ids.insert(entry.text);
    };
    for (const auto& conversation : conversationRegistry().definitions()) {
        for (const auto& entry : conversation->sequence) {
            if (const auto* random = dynamic_cast<const RandomSequenceEntry*>(entry.get()))
                for (const auto& dialog : random->dialogs()) addDialog(*dialog);
            else if (const auto* fixed = dynamic_cast<const DialogSequenceEntry*>(entry.get()))
                addDialog(*fixed->dialog(harness->world().random()));
        }
    }
    for (const auto& character : characterRegistry().definitions()) ids.insert(character->localizedName);
    for (const auto& upgrade : upgradeRegistry().definitions()) {
        ids.insert(upgrade->bannerHeaderId);
        for (const UpgradeDefinition::Tier& tier : upgrade->tiers) {
            ids.insert(tier.title);
            ids.insert(tier.description);
        }
    }
    for (const auto& quest : questRegistry().definitions()) ids.insert(quest->descriptionStringId);
    for (const auto& item : inventoryItemRegistry().definitions()) ids.insert(item->nameStringId);
    for (const auto& table : experienceRegistry().definitions())
        for (const ExperienceDefinition::Level& level : table->levels) ids.insert(level.name);
    ids.erase("");
    ASSERT_GT(ids.size(), 50u);

    LocalizationHandler localization;
    localization.init("Language");
    std::vector<std::string> missing;
    for (const std::string& id : ids)
        if (!localization.findLine(id)) missing.push_back(id);
    EXPECT_TRUE(missing.empty()) << ::testing::PrintToString(missing);
}

// The town where play starts and a death wakes, and where teleporters lead; the deep vault
// a demo starts in.
TEST_F(SampleDataNames, EveryLevelTheRulesNameBuildsWithAStart) {
    const std::string respawn = SettingsHandler::instance().getString("Profile.RespawnLevel");
    EXPECT_EQ(respawn, "shalebury");
    for (const std::string& name : {respawn, std::string("deepvault")}) {
        const std::shared_ptr<Level> level = build(name);
        ASSERT_NE(level, nullptr) << name;
        EXPECT_EQ(level->markers.count("[start]"), 1u) << name;
    }
    const std::shared_ptr<Level> town = build("shalebury");
    EXPECT_TRUE(town->atSurface);
    EXPECT_EQ(town->markers.count("[teleporter]"), 1u);
}

TEST_F(SampleDataNames, EveryExitAndLinkLeadsToALevelThatBuildsAtAnEntryItHas) {
    std::map<std::string, std::shared_ptr<Level>> levels;
    for (const auto& entry : std::filesystem::directory_iterator("BundlePC/Levels")) {
        const std::string name = entry.path().stem().string();
        levels[name] = build(name);
        EXPECT_NE(levels[name], nullptr) << name;
    }
    const auto builds = [&](const std::string& name) {
        const auto found = levels.find(name);
        return found != levels.end() && found->second != nullptr;
    };

    std::set<std::string> reached;
    for (const auto& [name, level] : levels) {
        if (!level) continue;
        for (const auto& [exitName, exits] : level->exits) {
            for (const PatchExit& exit : exits) {
                SCOPED_TRACE(name + " " + exitName);
                ASSERT_TRUE(builds(exit.targetLevel)) << exit.targetLevel;
                EXPECT_EQ(levels.at(exit.targetLevel)->markers.count(exit.targetEntry), 1u) << exit.targetEntry;
                reached.insert(exit.targetLevel);
            }
        }
    }
    EXPECT_EQ(reached, (std::set<std::string>{"shalebury", "mine1", "cinder_hollow", "sentinel_vault"}));

    const LevelLinkTable& links = patchLibrary()->levelLinks;
    EXPECT_FALSE(links.empty());
    for (const LevelLink& level : links) {
        EXPECT_TRUE(builds(level.name)) << level.name;
        for (const LevelLinkEntry& link : level.links) {
            EXPECT_TRUE(builds(link.targetName)) << level.name << " -> " << link.targetName;
            EXPECT_NE(link.target, nullptr) << level.name << " -> " << link.targetName;
        }
    }
}

} // namespace
} // namespace zor
