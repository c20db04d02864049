#include "game/simulation/rules/Sale.h"

#include "game/definitions/InventoryItemDefinition.h"
#include "game/simulation/GameSession.h"
#include "game/simulation/Simulator.h"
#include "game/simulation/ports/UserInterface.h"
#include "game/simulation/rules/ExperienceLevels.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/entity/WorldText.h"

#include "Framework/core/localization/LocalizationHandler.h"
#include "Framework/store/AchievementStore.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

namespace zor {

namespace {

constexpr float StartDelay = 0.5f;
// The slots share this time, with one share more before the first.
constexpr float SellingTime = 1.2f;
constexpr float CountingPauseTime = 0.5f;
constexpr float CountingPulsePeriod = 0.3f;
constexpr float GainingSoundPeriod = 0.1f;
constexpr float LevelUpPause = 0.75f;
constexpr float UpgradeBannerSeconds = 1.3f;
constexpr float ShopBannerSeconds = 2.0f;
constexpr float CameraWait = 0.5f;
constexpr float NextLevelPause = 1.0f;
constexpr float EndDelay = 0.5f;
constexpr float CameraPanSpeed = 100.0f;
constexpr float CameraPanHold = 1.0f;
constexpr std::int32_t CameraPanCurve = 4;

// The money text over the player.
constexpr float MoneyTextHeight = 20.0f;
constexpr float MoneyTextRise = 20.0f;
constexpr float MoneyTextSeconds = 1.0f;

struct SoldResource {
    const char* item;
    const char* counter;
};
constexpr SoldResource SoldResources[] = {
    {"ore_00", "cntr_sell_resources_mireth"},
    {"ore_12", "cntr_sell_resources_deepvault"},
    {"ore_20", "cntr_sell_resources_quellox"},
};

// Tests and tools run without a language table: the line id stands in.
std::string localized(const std::string& lineId) {
    return LocalizationHandler::exists() ? LocalizationHandler::instance().getLine(lineId) : lineId;
}

// Exact for whole thresholds: a level is reached once the experience is at its threshold.
std::int32_t wholeExperience(float experience) {
    return std::int32_t(std::floor(experience));
}

float progressOf(const ExperienceDefinition& table, float experience) {
    const auto start = float(experienceLevelFor(table, wholeExperience(experience)).threshold);
    const float span = float(nextLevelThreshold(table, wholeExperience(experience))) - start;
    return span > 0.0f ? std::clamp((experience - start) / span, 0.0f, 1.0f) : 1.0f;
}

std::int32_t priceOf(const InventorySlot& slot) {
    if (slot.itemName.empty() || slot.count <= 0) return 0;
    const std::shared_ptr<InventoryItemDefinition> item = findInventoryItemDefinitionOrNull(slot.itemName);
    return item ? item->value * slot.count : 0;
}

} // namespace

void Sale::begin(Simulator& simulator, const ExperienceDefinition& table) {
    World& world = simulator.world();
    const InventorySlotList& inventory = world.progress.inventory;
    if (running() || inventory.slots.empty()) return;
    m_table = &table;
    if (ActorObject* player = world.player()) player->busyFlags |= BusyFlag::Sale;
    m_value = 0.0f;
    m_shownExperience = float(world.progress.experience);
    UserInterface& userInterface = simulator.userInterface();
    userInterface.clearInventorySelection();
    userInterface.showExpBanner();
    enter(Start, StartDelay);
    m_pulse = 0.0f;
    for (const SoldResource& resource : SoldResources) {
        const std::int32_t sold = inventory.countOf(resource.item);
        if (sold > 0) updateAchievementCounter(sold, false, resource.counter);
    }
}

void Sale::update(Simulator& simulator, float step) {
    if (!running()) return;
    m_timer += step;
    m_pulse += step;
    refreshBanner(simulator);
    if (m_timer < m_stepTime) return;
    switch (m_state) {
    case Start: {
        const auto shares = float(simulator.world().progress.inventory.slots.size() + 1);
        enter(Selling, SellingTime / shares);
        // Due at once: the first slot goes in the next step.
        m_timer = m_stepTime;
        m_pulsePeriod = m_stepTime;
        m_pulse = 0.0f;
        break;
    }
    case Selling:
        m_timer -= m_stepTime;
        if (simulator.world().progress.inventory.slots.empty())
            finishSelling(simulator);
        else
            sellLastSlot(simulator);
        break;
    case CountingSetUp: pauseBeforeCounting(); break;
    case CountingPause:
        enter(Counting, 0.0f);
        m_pulsePeriod = CountingPulsePeriod;
        break;
    case Counting: count(simulator, step); break;
    case UnlockBanners: showNextUnlock(simulator); break;
    case WaitingForCamera:
        if (simulator.world().pan.curve == NoCameraCurve) m_state = NextLevel;
        break;
    case NextLevel: pauseBeforeCounting(); break;
    case Finished: finish(simulator); break;
    case Idle: break;
    }
}

void Sale::refreshBanner(Simulator& simulator) const {
    UserInterface& userInterface = simulator.userInterface();
    const ExperienceDefinition& table = *m_table;
    const std::int32_t experience = wholeExperience(m_shownExperience);
    if (isMaxExperienceLevel(table, experience))
        userInterface.setExpBannerMaxLevel();
    else
        userInterface.setExpBannerProgress(m_shownExperience, progressOf(table, m_shownExperience),
                                           experienceLevelFor(table, experience).index,
                                           nextLevelThreshold(table, experience));
    const bool pulsing = (m_state == Selling || m_state == Counting) && m_pulsePeriod > 0.0f;
    userInterface.setExpBannerPulse(pulsing ? 1.0f - std::fmod(m_pulse, m_pulsePeriod) / m_pulsePeriod : 0.0f);
}

void Sale::enter(State state, float stepTime) {
    m_state = state;
    m_stepTime = stepTime;
    m_timer = 0.0f;
}

void Sale::sellLastSlot(Simulator& simulator) {
    World& world = simulator.world();
    InventorySlotList& inventory = world.progress.inventory;
    const InventorySlot& slot = inventory.slots.back();
    const bool filled = !slot.itemName.empty() && slot.count > 0;
    m_value += float(priceOf(slot));
    inventory.slots.pop_back();
    // Slots emptied by a death or a discard go with the slot before them, worth nothing.
    inventory.trimTrailingEmpty();
    world.inventoryChanged.fireNoArgs();
    if (filled) queueSound(simulator, "sell_item");
}

void Sale::finishSelling(Simulator& simulator) {
    refreshBanner(simulator);
    enter(CountingSetUp, 0.0f);
    World& world = simulator.world();
    const auto sold = std::int32_t(m_value);
    world.progress.cash += sold;
    const ActorObject* player = world.player();
    if (!player) return;
    const fpRect body = player->physicalObject.getBounds();
    WorldText* text =
        world.spawnWorldText({body.x + body.w / 2.0f, body.y - MoneyTextHeight}, "$" + std::to_string(sold));
    text->velocity = {0.0f, -MoneyTextRise};
    text->red = 0.32f;
    text->green = 0.88f;
    text->blue = 0.29f;
    text->alpha = 1.0f;
    text->timed = true;
    text->remainingTime = MoneyTextSeconds;
}

void Sale::pauseBeforeCounting() {
    enter(CountingPause, CountingPauseTime);
    // A level fills in two seconds; the maximum level at the pace of the last one.
    m_rate = float(experienceSpan(*m_table, wholeExperience(m_shownExperience))) / 2.0f;
}

void Sale::count(Simulator& simulator, float step) {
    const ExperienceDefinition& table = *m_table;
    const std::int32_t levelBefore = experienceLevelFor(table, wholeExperience(m_shownExperience)).index;
    const float gain = m_rate * step;
    // Without a span to fill (a table of one level, equal thresholds) nothing would ever
    // be counted: the rest goes at once.
    if (m_rate <= 0.0f || m_value <= gain) {
        m_shownExperience += m_value;
        // Counted: a level reached on the way must not count it again.
        m_value = 0.0f;
        World& world = simulator.world();
        world.progress.experience = std::int32_t(std::lround(m_shownExperience));
        if (GameSession* session = simulator.session()) {
            std::int32_t& total = session->currentSlot().totalExperience;
            total = std::max(total, world.progress.experience);
        }
        enter(Finished, EndDelay);
    } else {
        m_shownExperience += gain;
        m_value -= gain;
    }
    const ExperienceDefinition::Level& reached = experienceLevelFor(table, wholeExperience(m_shownExperience));
    if (reached.index > levelBefore) {
        queueSound(simulator, "level_up");
        UserInterface& userInterface = simulator.userInterface();
        userInterface.spawnScreenEffect("level_up", -1, userInterface.getWidgetPosition("treasure"));
        m_unlockQueue.clear();
        for (const auto& upgrade : upgradeRegistry().definitions())
            if (upgrade->levelRequired == reached.index) m_unlockQueue.push_back(*upgrade);
        enter(UnlockBanners, LevelUpPause);
    } else if (m_timer >= GainingSoundPeriod) {
        m_timer -= GainingSoundPeriod;
        queueSound(simulator, "gaining_experience");
    }
}

void Sale::showNextUnlock(Simulator& simulator) {
    UserInterface& userInterface = simulator.userInterface();
    if (!m_unlockQueue.empty()) {
        queueSound(simulator, "upgrade_unlocked");
        userInterface.showBanner("banner_upgrade", "banner_upgrade_unlocked",
                                 localized(m_unlockQueue.back().tier(1).title), UpgradeBannerSeconds);
        m_unlockQueue.pop_back();
        enter(UnlockBanners, UpgradeBannerSeconds);
        return;
    }
    const ExperienceDefinition::Level& reached =
        experienceLevelFor(*m_table, wholeExperience(m_shownExperience));
    if (reached.name.empty()) {
        enter(NextLevel, NextLevelPause);
        return;
    }
    userInterface.showBanner("banner_upgrade", "banner_shop_unlocked", localized(reached.name), ShopBannerSeconds);
    World& world = simulator.world();
    world.panCamera(reached.cameraTarget, CameraPanSpeed, CameraPanHold, CameraPanCurve);
    world.progress.items.counts[reached.upgradeName] = 1;
    enter(WaitingForCamera, CameraWait);
}

void Sale::finish(Simulator& simulator) {
    m_state = Idle;
    if (ActorObject* player = simulator.world().player()) player->busyFlags &= ~BusyFlag::Sale;
    simulator.userInterface().hideExpBanner();
    simulator.saveGame();
}

void Sale::queueSound(Simulator& simulator, const char* cue) const {
    World& world = simulator.world();
    const ActorObject* player = world.player();
    world.soundRequests.push_back(SoundRequest{cue, player ? player->getPosition() : fpVector2(), 1.0f});
}

} // namespace zor
