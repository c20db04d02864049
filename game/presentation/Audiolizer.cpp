#include "game/presentation/Audiolizer.h"

#include "game/definitions/EffectDefinition.h"
#include "game/simulation/audio/GameAudio.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/entity/Beam.h"
#include "game/world/entity/EffectObject.h"

#include "Framework/core/memory/PooledObject.h"
#include "Framework/system/surface/UpdateRecord.h"

#include <optional>

namespace zor::presentation {

namespace {

constexpr float MusicFade = 0.4f;  // seconds

} // namespace

// Made on the worker during builds and on the main thread in play: the locked pools.
struct Audiolizer::ObjectSoundRecord final : LockedPooledObject {
    explicit ObjectSoundRecord(GameObject& object) : object(object) {}
    GameObject& object;
};

Audiolizer::Audiolizer(World& world, GameAudio& audio)
    : m_world(world), m_audio(audio), m_constantSounds(world, audio), m_playerLoops(audio) {
    m_records.max_load_factor(1.0f);
    m_connections.push_back(world.entityAdded.connect(this, &Audiolizer::onEntityAdded));
    m_connections.push_back(world.entityRemoved.connect(this, &Audiolizer::onEntityRemoved));
    m_connections.push_back(world.levelUnloading.connect(this, &Audiolizer::onLevelUnloading));
    m_connections.push_back(world.levelReady.connect(this, &Audiolizer::onLevelReady));
    m_connections.push_back(world.gameOver.connect(this, &Audiolizer::onGameOver));
    m_connections.push_back(world.pauseStarted.connect(this, &Audiolizer::stopAll));
    m_connections.push_back(world.leavingGame.connect(this, &Audiolizer::onLeavingGame));
}

Audiolizer::~Audiolizer() {
    m_connections.clear();
    for (const auto& [id, record] : m_records) delete record;
}

void Audiolizer::update(const UpdateRecord& record) {
    playSoundRequests();
    playPendingMusic();
    for (const std::int32_t id : m_world.updatedObjects) {
        const auto found = m_records.find(id);
        if (found != m_records.end()) updateObjectSounds(found->second->object, record.stepLength);
    }
    m_constantSounds.sync(m_world.constantSoundIds);
    playPendingBeamStarts();
}

void Audiolizer::playSoundRequests() {
    for (const SoundRequest& request : m_world.soundRequests)
        m_audio.playCue(request.cue, 1.0f, request.pitch, request.position);
    m_world.soundRequests.clear();
}

void Audiolizer::playPendingMusic() {
    MusicRequest& request = m_world.pendingMusic;
    if (!request.pending) return;
    // A script's request restarts the cross-fade even for the track that plays.
    m_music = request.track;
    switchMusic(m_music);
    request.pending = false;
    request.track.clear();
}

void Audiolizer::switchMusic(const std::string& track) {
    if (track.empty())
        m_audio.stopMusic(MusicFade);
    else
        m_audio.playMusic(track, MusicFade);
}

void Audiolizer::updateObjectSounds(GameObject& object, float step) {
    // Only what the simulation stepped this time: the cues of an object outside the active
    // area wait for it.
    if (!object.alive() || object.lastUpdateFrame != m_world.stepCounter) return;
    if (object.kind() == GameObjectKind::Actor) {
        auto& actor = static_cast<ActorObject&>(object);
        const ActorDefinition& definition = actor.definition();
        if (definition.specialType == SpecialType::Player) {
            m_playerLoops.update(actor, m_world, step);
        } else if (actor.footstepRequest) {
            actor.footstepRequest = false;
            if (!definition.walkSound.empty()) m_audio.playCue(definition.walkSound, 1.0f, 1.0f, actor.getPosition());
        }
    }
    for (const std::string& cue : object.pendingSounds) m_audio.playCue(cue, 1.0f, 1.0f, object.getPosition());
    object.pendingSounds.clear();
}

void Audiolizer::playPendingBeamStarts() {
    for (std::size_t index = 0; index < m_pendingBeams.size();) {
        const Entity* entity = m_world.findEntity(m_pendingBeams[index]);
        if (entity && entity->alive() && entity->type() == EntityType::Beam) {
            const auto& beam = static_cast<const Beam&>(*entity);
            if (beam.updatePending) {
                ++index;
                continue;
            }
            const fpVector2 start = beam.getPosition();
            m_audio.playMixed(beam.definition->oneShotSound, false,
                              m_audio.mixAlong(start, start + beam.direction * beam.length), 1.0f);
        }
        // The last id takes this place and is looked at next.
        m_pendingBeams[index] = m_pendingBeams.back();
        m_pendingBeams.pop_back();
    }
}

void Audiolizer::onEntityAdded(Entity* entity) {
    switch (entity->type()) {
    case EntityType::GameObject: {
        auto& object = static_cast<GameObject&>(*entity);
        const auto [slot, added] = m_records.try_emplace(object.id(), nullptr);
        if (added) slot->second = new ObjectSoundRecord(object);
        if (!m_building) updateObjectSounds(object, 0.0f);
        break;
    }
    case EntityType::Effect: {
        const auto& effect = static_cast<const EffectObject&>(*entity);
        const std::string& cue = effect.definition->sound;
        if (!m_building && !cue.empty()) m_audio.playCue(cue, 1.0f, 1.0f, effect.getPosition());
        break;
    }
    case EntityType::Beam:
        if (!static_cast<const Beam&>(*entity).definition->oneShotSound.empty())
            m_pendingBeams.push_back(entity->id());
        break;
    default:
        break;
    }
}

void Audiolizer::onEntityRemoved(Entity* entity) {
    if (entity->type() != EntityType::GameObject) return;
    const auto found = m_records.find(entity->id());
    if (found == m_records.end()) return;
    delete found->second;
    m_records.erase(found);
}

void Audiolizer::onLevelUnloading() {
    stopAll();
    m_pendingBeams.clear();
    m_building = true;
}

void Audiolizer::onLevelReady() {
    m_building = false;
    if (!m_world.level || m_world.level->music == m_music) return;
    m_music = m_world.level->music;
    switchMusic(m_music);
}

void Audiolizer::onGameOver() {
    m_audio.stopMusic(MusicFade);
    m_music.clear();
}

void Audiolizer::onLeavingGame() {
    // The Game is deleted on the worker: its loops would play on into the menus.
    stopAll();
    m_building = true;
}

void Audiolizer::stopAll() {
    m_playerLoops.stopAll();
    m_constantSounds.stopAll();
}

} // namespace zor::presentation
