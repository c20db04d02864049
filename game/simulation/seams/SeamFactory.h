#pragma once
// Where a Game's Simulator and GameObjectSimulator get the rules of the later parts of the
// game: one object per seam group, made fresh for every Simulator (a demo restart makes
// new ones). The defaults are the safe bodies of each group's header; a part of the game
// that arrives replaces its group's make function here, and tests override them with
// recorders.

#include <memory>

namespace zor {

class ActorSteps;
class GameRules;
class HitRules;
class ObjectLifeRules;
class ObjectPhysicsSteps;
class QuestTracking;
class WorldPersistence;

class SeamFactory {
public:
    virtual ~SeamFactory() = default;

    virtual std::unique_ptr<ActorSteps> makeActorSteps() const;
    virtual std::unique_ptr<ObjectPhysicsSteps> makeObjectPhysicsSteps() const;
    virtual std::unique_ptr<HitRules> makeHitRules() const;
    virtual std::unique_ptr<ObjectLifeRules> makeObjectLifeRules() const;
    virtual std::unique_ptr<GameRules> makeGameRules() const;
    virtual std::unique_ptr<QuestTracking> makeQuestTracking() const;
    virtual std::unique_ptr<WorldPersistence> makeWorldPersistence() const;
};

} // namespace zor
