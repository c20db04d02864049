#pragma once
// The story as one ordered list of quests. The current quest's index lives in the World's
// player progress (so it is saved and outlives the tracker); the tracker advances it when
// the goal has been met long enough, steps back when a required earlier goal is lost,
// shows each new quest's banner once, picks the conversation an NPC offers and keeps a
// Destination marker on the quest's target: the NPC or shape in the target level, or
// elsewhere the exit that leads there by the fewest levels.
//
// An index outside the list (scripts, a demo start, a save of another story) is clamped
// to it; with no quests nothing changes. After its first step an update allocates nothing
// unless the quest or the marker changes. Main thread only, inside the Simulator's step.

#include "game/simulation/quest/LevelLinkGraph.h"

#include "Framework/core/debug/DebugFlags.h"
#include "Framework/core/math/Vector.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zor {

class Destination;
class UserInterface;
class World;
struct QuestDefinition;

class QuestTracker {
public:
    // The registered quests in file order and the level links of the library in use.
    QuestTracker(World& world, UserInterface& userInterface);
    // `quests` in story order; `links` is read here only. World and interface must outlive
    // the tracker. Declares the one-shot debug commands "questNext" and "questPrev" (game).
    QuestTracker(World& world, UserInterface& userInterface, std::vector<std::shared_ptr<const QuestDefinition>> quests,
                 const LevelLinkTable& links);

    // One step: serves the debug commands; then, unless a sale runs, completes a TalkTo
    // goal once the talk is over, follows the current goal, announces a new quest and
    // keeps the marker on its target.
    void update(float step, bool saleRunning);
    // The player activated an actor of this definition name: its first conversation once,
    // else the conversation the current or the nearest earlier quest gives it. A name no
    // actor definition has does nothing.
    void talkTo(const std::string& npcName);

    // On to the next quest, and on past every following quest whose goal is already met;
    // never beyond the last.
    void advanceQuest();
    // Back one quest (not before the first), and on again when its goal is met.
    void previousQuest();
    // The quest at `index` (clamped), and on when its goal is met.
    void setQuest(std::int32_t index);
    // The last quest, with its goal's hold time started afresh.
    void finishQuests();

    // Scripted, TalkTo and unknown goals are never met here: scripts and talks end them.
    bool isGoalMet(const QuestDefinition& quest) const;

private:
    // Only with quests.
    std::int32_t currentIndex();
    const QuestDefinition& currentQuest() { return *m_quests[std::size_t(currentIndex())]; }
    bool prerequisiteHolds();

    void serveDebugCommands();
    void completeTalk();
    void followGoal(float step);
    void announceNewQuest();
    void updateMarker(float step);
    std::optional<fpVector2> targetInMarkerLevel(const QuestDefinition& quest) const;
    std::optional<fpVector2> nearestExitTowards(const std::string& level);
    // The marker refreshed (and moved to `target` when given), or a new one at `target`;
    // null when the marker went away.
    Destination* placeMarker(const std::optional<fpVector2>& target);
    void revealAfterDelay(Destination& marker, float step);
    const std::string* offeredConversation(const std::string& npcName);
    void requestSound(const char* cue);

    World& m_world;
    UserInterface& m_userInterface;
    std::vector<std::shared_ptr<const QuestDefinition>> m_quests;
    LevelLinkGraph m_levels;
    DebugFlag& m_nextRequested;
    DebugFlag& m_previousRequested;
    std::int32_t m_markerId = 0;     // the Destination showing the target; 0 for none
    std::int32_t m_shownIndex = -1;  // the quest whose banner was shown last
    std::string m_talkedTo;          // an NPC just talked to for a TalkTo goal
    float m_holdTime = 0.0f;         // seconds the current goal has been met without a break
    float m_newDestinationDelay = 0.0f;
};

} // namespace zor
