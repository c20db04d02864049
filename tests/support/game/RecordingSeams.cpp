#include "tests/support/game/RecordingSeams.h"

#include "game/simulation/GameObjectSimulator.h"
#include "game/simulation/contacts/ContactRules.h"
#include "game/simulation/SaveSlotPersistence.h"
#include "game/world/World.h"

#include "Framework/core/Errors.h"

#include <algorithm>
#include <stdexcept>

namespace zor::test {

namespace {

std::string nameOf(const GameObject& object) {
    return object.gameObjectDefinition().name;
}

class Recorder {
public:
    explicit Recorder(std::shared_ptr<SeamRecordings> recordings) : m_recordings(std::move(recordings)) {}

protected:
    void record(std::string call) const {
        if (!m_recordings->quiet) m_recordings->calls.push_back(std::move(call));
    }
    SeamRecordings& recordings() const { return *m_recordings; }

private:
    std::shared_ptr<SeamRecordings> m_recordings;
};

class RecordingActorSteps final : public ActorSteps, Recorder {
public:
    RecordingActorSteps(std::shared_ptr<SeamRecordings> recordings, std::unique_ptr<ActorSteps> inner)
        : Recorder(std::move(recordings)), m_inner(std::move(inner)) {}
    void updatePlayer(GameObjectSimulator& objects, float step) override {
        record("ActorSteps.updatePlayer");
        m_inner->updatePlayer(objects, step);
    }
    bool handlePlayerInput(GameObjectSimulator& objects, InputState& input) override {
        record("ActorSteps.handlePlayerInput");
        return m_inner->handlePlayerInput(objects, input);
    }
    void finishPlayerInput(GameObjectSimulator& objects) override {
        record("ActorSteps.finishPlayerInput");
        m_inner->finishPlayerInput(objects);
    }
    void updateActor(GameObjectSimulator& objects, ActorObject& actor, ObjectStepContext& context) override {
        record("ActorSteps.updateActor " + nameOf(actor));
        m_inner->updateActor(objects, actor, context);
    }

private:
    std::unique_ptr<ActorSteps> m_inner;
};

class RecordingPhysicsSteps final : public ObjectPhysicsSteps, Recorder {
public:
    RecordingPhysicsSteps(std::shared_ptr<SeamRecordings> recordings, std::unique_ptr<ObjectPhysicsSteps> inner)
        : Recorder(std::move(recordings)), m_inner(std::move(inner)) {}
    void stepObjectPhysics(GameObjectSimulator& objects, GameObject& object, ObjectStepContext& context) override {
        record("ObjectPhysicsSteps.stepObjectPhysics " + nameOf(object));
        m_inner->stepObjectPhysics(objects, object, context);
    }
    void updateActorSenses(GameObjectSimulator& objects, ActorObject& actor, ObjectStepContext& context) override {
        record("ObjectPhysicsSteps.updateActorSenses " + nameOf(actor));
        m_inner->updateActorSenses(objects, actor, context);
    }
    void updateCamera(GameObjectSimulator& objects, float step) override {
        record("ObjectPhysicsSteps.updateCamera");
        m_inner->updateCamera(objects, step);
    }

private:
    std::unique_ptr<ObjectPhysicsSteps> m_inner;
};

class RecordingHitRules final : public HitRules, Recorder {
public:
    using Recorder::Recorder;
    void onContact(GameObjectSimulator& objects, PhysicalCollision& contact) override {
        record("HitRules.onContact");
        if (recordings().gameContacts) handleContact(objects, contact);
    }
    void detonateProjectile(GameObjectSimulator& objects, Projectile& projectile) override {
        record("HitRules.detonateProjectile " + nameOf(projectile));
        if (recordings().onDetonation) recordings().onDetonation(projectile);
        if (recordings().playHitRules)
            m_played->detonateProjectile(objects, projectile);
        else
            HitRules::detonateProjectile(objects, projectile);
    }
    bool digCell(GameObjectSimulator& objects, std::int32_t column, std::int32_t row, const DamageData& damage,
                 const fpVector2& origin) override {
        record("HitRules.digCell " + std::to_string(column) + " " + std::to_string(row));
        if (recordings().playHitRules) return m_played->digCell(objects, column, row, damage, origin);
        return recordings().digCellDone;
    }
    float depthOfHardnessTier(GameObjectSimulator& objects, std::int32_t tier) override {
        const float step = recordings().hardnessTierDepth;
        if (step > 0.0f) return float(tier) * step;
        if (recordings().playHitRules) return m_played->depthOfHardnessTier(objects, tier);
        return HitRules::depthOfHardnessTier(objects, tier);
    }

private:
    std::unique_ptr<HitRules> m_played = SeamFactory().makeHitRules();
};

class RecordingLifeRules final : public ObjectLifeRules, Recorder {
public:
    using Recorder::Recorder;
    void killActor(GameObjectSimulator& objects, ActorObject& actor) override {
        record("ObjectLifeRules.killActor " + nameOf(actor) + (actor.dying ? " dying" : ""));
        if (recordings().playLifeRules)
            m_played->killActor(objects, actor);
        else
            ObjectLifeRules::killActor(objects, actor);
    }
    void updateResource(GameObjectSimulator& objects, ResourceObject& resource, float step) override {
        record("ObjectLifeRules.updateResource " + nameOf(resource));
        if (recordings().playLifeRules) m_played->updateResource(objects, resource, step);
    }
    void updateBeams(GameObjectSimulator& objects, GameObject& object, float step) override {
        record("ObjectLifeRules.updateBeams " + nameOf(object));
        if (recordings().playLifeRules) m_played->updateBeams(objects, object, step);
    }

private:
    std::unique_ptr<ObjectLifeRules> m_played = SeamFactory().makeObjectLifeRules();
};

class RecordingGameRules final : public GameRules, Recorder {
public:
    using Recorder::Recorder;
    void onItemGained(Simulator&, const std::string& name) override { record("GameRules.onItemGained " + name); }
    void onDiscardRequested(Simulator&, std::int32_t slot) override {
        record("GameRules.onDiscardRequested " + std::to_string(slot));
    }
    void onConversationEnded(Simulator&, const ConversationDefinition*) override {
        record("GameRules.onConversationEnded");
    }
    void onSecretFound(Simulator&) override { record("GameRules.onSecretFound"); }
    void serveDebugCommands(Simulator&) override { record("GameRules.serveDebugCommands"); }
    void updateSale(Simulator&, float) override { record("GameRules.updateSale"); }
    void applyPlayerUpgrades(Simulator&, ActorObject&) override { record("GameRules.applyPlayerUpgrades"); }
    std::int32_t pouchCapacity(Simulator& simulator) override {
        record("GameRules.pouchCapacity");
        return GameRules::pouchCapacity(simulator);
    }
};

class RecordingQuestTracking final : public QuestTracking, Recorder {
public:
    using Recorder::Recorder;
    void update(Simulator&, float) override { record("QuestTracking.update"); }
    void startQuest(Simulator& simulator, std::int32_t index) override {
        record("QuestTracking.startQuest " + std::to_string(index));
        QuestTracking::startQuest(simulator, index);
    }
    void talkTo(Simulator&, const std::string& npcName) override { record("QuestTracking.talkTo " + npcName); }
    void finishQuests(Simulator&) override { record("QuestTracking.finishQuests"); }
};

class RecordingPersistence final : public WorldPersistence, Recorder {
public:
    using Recorder::Recorder;
    void save(World& world, const GameSession* session) override {
        record("WorldPersistence.save");
        noteThread("WorldPersistence.save");
        if (!recordings().saveFailure.empty()) throw CheckReleaseError(recordings().saveFailure);
        if (recordings().saveFiles) m_files.save(world, session);
    }
    void saveSession(const GameSession* session) override {
        record("WorldPersistence.saveSession");
        noteThread("WorldPersistence.saveSession");
        if (recordings().saveFiles) m_files.saveSession(session);
    }
    LoadResult loadSave(World& world, const GameSession* session) override {
        record("WorldPersistence.loadSave");
        noteThread("WorldPersistence.loadSave");
        return recordings().saveFiles ? m_files.loadSave(world, session) : recordings().loadResult;
    }
    void writeEntities(const std::vector<Entity*>& entities, std::vector<std::uint8_t>& record,
                       StringTableDynamic& names) override {
        this->record("WorldPersistence.writeEntities " + std::to_string(entities.size()));
        noteThread("WorldPersistence.writeEntities");
        if (recordings().saveFiles)
            m_files.writeEntities(entities, record, names);
        else
            WorldPersistence::writeEntities(entities, record, names);
    }
    void readEntities(World& world, const std::vector<std::uint8_t>& record, const StringTable& names,
                      std::vector<GameObject*>& out) override {
        this->record("WorldPersistence.readEntities");
        noteThread("WorldPersistence.readEntities");
        if (recordings().saveFiles) m_files.readEntities(world, record, names, out);
        std::vector<GameObject*>& stored = recordings().storedObjects;
        out.insert(out.end(), stored.begin(), stored.end());
        stored.clear();
        if (recordings().readFailure) throw std::runtime_error("the record is cut short");
    }

private:
    void noteThread(const char* call) const {
        recordings().persistenceThreads.emplace_back(call, std::this_thread::get_id());
    }

    SaveSlotPersistence m_files;
};

} // namespace

std::size_t SeamRecordings::count(const std::string& call) const {
    return std::size_t(std::count(calls.begin(), calls.end(), call));
}

std::vector<std::string> SeamRecordings::startingWith(const std::string& prefix) const {
    std::vector<std::string> found;
    for (const std::string& call : calls)
        if (call.compare(0, prefix.size(), prefix) == 0) found.push_back(call);
    return found;
}

std::unique_ptr<ActorSteps> RecordingSeams::makeActorSteps() const {
    auto inner = recordings->gameMovement ? SeamFactory::makeActorSteps() : std::make_unique<ActorSteps>();
    return std::make_unique<RecordingActorSteps>(recordings, std::move(inner));
}
std::unique_ptr<ObjectPhysicsSteps> RecordingSeams::makeObjectPhysicsSteps() const {
    auto inner =
        recordings->gameMovement ? SeamFactory::makeObjectPhysicsSteps() : std::make_unique<ObjectPhysicsSteps>();
    return std::make_unique<RecordingPhysicsSteps>(recordings, std::move(inner));
}
std::unique_ptr<HitRules> RecordingSeams::makeHitRules() const { return std::make_unique<RecordingHitRules>(recordings); }
std::unique_ptr<ObjectLifeRules> RecordingSeams::makeObjectLifeRules() const {
    return std::make_unique<RecordingLifeRules>(recordings);
}
std::unique_ptr<GameRules> RecordingSeams::makeGameRules() const {
    if (gameRules) return SeamFactory::makeGameRules();
    return std::make_unique<RecordingGameRules>(recordings);
}
std::unique_ptr<QuestTracking> RecordingSeams::makeQuestTracking() const {
    if (gameRules) return SeamFactory::makeQuestTracking();
    return std::make_unique<RecordingQuestTracking>(recordings);
}
std::unique_ptr<WorldPersistence> RecordingSeams::makeWorldPersistence() const {
    return std::make_unique<RecordingPersistence>(recordings);
}

} // namespace zor::test
