#include "game/simulation/quest/QuestTracker.h"

#include "game/definitions/ActorDefinition.h"
#include "game/definitions/ConversationDefinition.h"
#include "game/definitions/QuestDefinition.h"
#include "game/simulation/ports/UserInterface.h"
#include "game/world/World.h"
#include "game/world/entity/Destination.h"
#include "game/world/entity/ExitObject.h"
#include "game/world/entity/ShapeObject.h"
#include "game/world/level/PatchLibraryTables.h"

#include <algorithm>
#include <cassert>

namespace zor {

namespace {

constexpr float BannerSeconds = 2.0f;
constexpr float MarkerRefreshSeconds = 0.5f;
constexpr float NewDestinationDelay = 1.0f;
constexpr float MarkerRevealTime = 0.3f;

std::vector<std::shared_ptr<const QuestDefinition>> registeredQuests() {
    const auto& quests = questRegistry().definitions();
    return {quests.begin(), quests.end()};
}

// Games built from level files alone have no library: no links, so no exits to point at.
// The library lives as long as the caller's argument.
const LevelLinkTable& levelLinksOf(const std::shared_ptr<const PatchLibraryTables>& library) {
    static const LevelLinkTable none;
    return library ? library->levelLinks : none;
}

} // namespace

QuestTracker::QuestTracker(World& world, UserInterface& userInterface)
    : QuestTracker(world, userInterface, registeredQuests(), levelLinksOf(patchLibrary())) {}

QuestTracker::QuestTracker(World& world, UserInterface& userInterface,
                           std::vector<std::shared_ptr<const QuestDefinition>> quests, const LevelLinkTable& links)
    : m_world(world),
      m_userInterface(userInterface),
      m_quests(std::move(quests)),
      m_levels(links),
      m_nextRequested(declareDebugToggle(DebugToggle("questNext", DebugToggle::OneShot, "game"))),
      m_previousRequested(declareDebugToggle(DebugToggle("questPrev", DebugToggle::OneShot, "game"))) {}

void QuestTracker::update(float step, bool saleRunning) {
    serveDebugCommands();
    if (m_quests.empty() || saleRunning) return;
    completeTalk();
    followGoal(step);
    announceNewQuest();
    updateMarker(step);
}

void QuestTracker::talkTo(const std::string& npcName) {
    const std::shared_ptr<ActorDefinition> npc = findActorDefinitionPtr(npcName);
    if (!npc) return;
    ConversationProgress& conversations = m_world.progress.conversations;
    const std::string& first = npc->firstConversation;
    if (!first.empty() && !hasItem(npcName, conversations) && hasConversation(first)) {
        conversations.started.insert(npcName);
        m_userInterface.startConversation(first);
        return;
    }
    const std::string* offered = offeredConversation(npcName);
    if (!offered) return;
    const QuestDefinition& quest = currentQuest();
    if (quest.goalType == QuestGoalType::TalkTo && quest.goalValue == npcName) m_talkedTo = npcName;
    m_userInterface.startConversation(*offered);
}

void QuestTracker::advanceQuest() {
    if (m_quests.empty()) return;
    const auto last = std::int32_t(m_quests.size()) - 1;
    std::int32_t index = currentIndex();
    while (index < last) {
        m_world.progress.questIndex = ++index;
        m_holdTime = 0.0f;
        if (!isGoalMet(*m_quests[std::size_t(index)])) break;
    }
}

void QuestTracker::previousQuest() {
    if (m_quests.empty()) return;
    const std::int32_t index = currentIndex();
    if (index <= 0) return;
    setQuest(index - 1);
}

void QuestTracker::setQuest(std::int32_t index) {
    if (m_quests.empty()) return;
    m_world.progress.questIndex = index;
    m_holdTime = 0.0f;
    if (isGoalMet(currentQuest())) advanceQuest();
}

void QuestTracker::finishQuests() {
    if (m_quests.empty()) return;
    m_world.progress.questIndex = std::int32_t(m_quests.size()) - 1;
    m_holdTime = 0.0f;
}

bool QuestTracker::isGoalMet(const QuestDefinition& quest) const {
    const PlayerProgress& progress = m_world.progress;
    switch (quest.goalType) {
    case QuestGoalType::ReachLevel: return m_world.level && m_world.level->name == quest.goalValue;
    case QuestGoalType::HaveUpgrade: return hasItemAmount(quest.goalValue, progress.items, 1);
    case QuestGoalType::HaveGold: return double(quest.goalAmount) <= double(progress.cash);
    case QuestGoalType::BackpackValue:
        return double(progress.cash) + double(progress.inventory.totalValue()) >= double(quest.goalAmount);
    default: return false;
    }
}

std::int32_t QuestTracker::currentIndex() {
    assert(!m_quests.empty());
    std::int32_t& index = m_world.progress.questIndex;
    index = std::clamp(index, 0, std::int32_t(m_quests.size()) - 1);
    return index;
}

bool QuestTracker::prerequisiteHolds() {
    const std::int32_t index = currentIndex();
    return index == 0 || !m_quests[std::size_t(index)]->requiresPrerequisite ||
           isGoalMet(*m_quests[std::size_t(index) - 1]);
}

void QuestTracker::serveDebugCommands() {
    if (m_nextRequested.exchange(false)) advanceQuest();
    if (m_previousRequested.exchange(false)) previousQuest();
}

void QuestTracker::completeTalk() {
    if (m_talkedTo.empty() || m_userInterface.conversationOpen() || m_userInterface.shopOpen()) return;
    const QuestDefinition& quest = currentQuest();
    if (quest.goalType == QuestGoalType::TalkTo && quest.goalValue == m_talkedTo) advanceQuest();
    m_talkedTo.clear();
}

void QuestTracker::followGoal(float step) {
    const QuestDefinition& quest = currentQuest();
    if (isGoalMet(quest)) {
        m_holdTime += step;
        if (quest.goalTime <= m_holdTime) advanceQuest();
    } else if (prerequisiteHolds()) {
        m_holdTime = 0.0f;
    } else {
        previousQuest();
    }
}

void QuestTracker::announceNewQuest() {
    const std::int32_t index = currentIndex();
    if (index == m_shownIndex) return;
    const QuestDefinition& quest = *m_quests[std::size_t(index)];
    if (!quest.descriptionStringId.empty()) {
        requestSound("show_banner");
        m_userInterface.showBanner("banner_quest", quest.descriptionStringId, "", BannerSeconds);
    }
    m_newDestinationDelay = NewDestinationDelay;
    m_shownIndex = index;
    // The old marker is no longer refreshed and goes by itself.
    m_markerId = 0;
}

void QuestTracker::updateMarker(float step) {
    const QuestDefinition& quest = currentQuest();
    if (quest.markerLevel.empty() || !m_world.level) return;
    const Level& level = *m_world.level;
    std::optional<fpVector2> target;
    if (level.name == quest.markerLevel) {
        target = targetInMarkerLevel(quest);
        if (!target) return;
    } else {
        // Inside a cave of the target level the player knows the way back.
        if (quest.markerDisabledInSubCaves && level.isCave && m_levels.rootLevel(level.name) == quest.markerLevel)
            return;
        // Exits do not move, and a level change removes the marker, so one search per
        // marker is enough.
        if (m_markerId == 0) {
            target = nearestExitTowards(quest.markerLevel);
            if (!target) return;
        }
    }
    if (Destination* marker = placeMarker(target)) revealAfterDelay(*marker, step);
}

std::optional<fpVector2> QuestTracker::targetInMarkerLevel(const QuestDefinition& quest) const {
    switch (quest.markerKind) {
    case QuestMarkerKind::Npc:
        for (const auto& [id, object] : m_world.gameObjects()) {
            if (object->kind() != GameObjectKind::Actor || !object->visible) continue;
            if (static_cast<const ActorObject*>(object)->definition().name == quest.markerTarget)
                return object->center();
        }
        return std::nullopt;
    case QuestMarkerKind::Shape:
        for (const auto& [id, shape] : m_world.shapeObjects())
            if (shape->name == quest.markerTarget) return shape->getPosition();
        return std::nullopt;
    default: return std::nullopt;
    }
}

std::optional<fpVector2> QuestTracker::nearestExitTowards(const std::string& level) {
    const ItemCountMap& items = m_world.progress.items;
    const ExitObject* nearest = nullptr;
    std::int32_t nearestDistance = 0;
    for (const auto& [id, exit] : m_world.exits()) {
        if (!exit->alive()) continue;
        const PatchExit& link = *exit->link;
        if (!link.requiredItem.empty() && !hasItemAmount(link.requiredItem, items, 1)) continue;
        const std::int32_t distance = m_levels.distance(link.targetLevel, level, items);
        if (distance < 0) continue;
        if (!nearest || distance < nearestDistance) {
            nearest = exit;
            nearestDistance = distance;
        }
    }
    if (!nearest) return std::nullopt;
    return nearest->getPosition();
}

Destination* QuestTracker::placeMarker(const std::optional<fpVector2>& target) {
    if (m_markerId != 0) {
        const auto found = m_world.destinations().find(m_markerId);
        if (found == m_world.destinations().end() || !found->second->alive()) {
            m_markerId = 0;
            return nullptr;
        }
        Destination& marker = *found->second;
        if (target) marker.setPosition(*target);
        marker.remainingTime = MarkerRefreshSeconds;
        return &marker;
    }
    assert(target);
    Destination* marker = m_world.spawnDestination(*target);
    marker->remainingTime = MarkerRefreshSeconds;
    marker->secondTime = MarkerRefreshSeconds;
    m_markerId = marker->id();
    return marker;
}

void QuestTracker::revealAfterDelay(Destination& marker, float step) {
    if (m_newDestinationDelay <= 0.0f) return;
    marker.shown = false;
    m_newDestinationDelay -= step;
    if (m_newDestinationDelay > 0.0f) return;
    marker.shown = true;
    marker.secondTime = MarkerRevealTime;
    marker.value = MarkerRevealTime;
    requestSound("new_destination");
}

const std::string* QuestTracker::offeredConversation(const std::string& npcName) {
    if (m_quests.empty()) return nullptr;
    for (std::int32_t index = currentIndex(); index >= 0; --index) {
        const auto& conversations = m_quests[std::size_t(index)]->conversations;
        const auto offered = conversations.find(npcName);
        if (offered != conversations.end() && hasConversation(offered->second)) return &offered->second;
    }
    return nullptr;
}

void QuestTracker::requestSound(const char* cue) {
    const ActorObject* player = m_world.player();
    m_world.soundRequests.push_back(SoundRequest{cue, player ? player->getPosition() : fpVector2(), 1.0f});
}

} // namespace zor
