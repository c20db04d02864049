#pragma once
// The sound of a running game: it plays the cues the simulation queues where they happen,
// the start cues of new effects and beams, the constant loops of actors and beams that
// follow the listener, the player's state loops, and the area music with a 0.4 s
// cross-fade. It only reads the World (the weapon loops advance the player's attack pitch
// timer) and plays through the Game's audio.
//
// Made on the worker with the Game. While the Game or a level is built (from construction,
// or the World's levelUnloading, until its levelReady) the World's entityAdded list also
// fires on the worker: then new entities are only noted, nothing plays. Everything else
// runs on the main thread.

#include "game/presentation/AudiolizerConstantSounds.h"
#include "game/presentation/AudiolizerPlayerLoops.h"
#include "game/simulation/ports/Audiolizer.h"

#include "Framework/core/events/EventList.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace zor {

class Entity;
class GameAudio;
class GameObject;
class World;

namespace presentation {

class Audiolizer final : public zor::Audiolizer {
public:
    // Both must outlive the Audiolizer.
    Audiolizer(World& world, GameAudio& audio);
    // Leaves the sounds alone: the Game is deleted on the worker; the World's
    // leavingGame has stopped them on the main thread.
    ~Audiolizer() override;
    Audiolizer(const Audiolizer&) = delete;
    Audiolizer& operator=(const Audiolizer&) = delete;

    void update(const UpdateRecord& record) override;
    // Stops the player's loops and the constant sounds. They start again at the next
    // update while their conditions hold.
    void stopAll();

    // The area music playing, empty for none.
    const std::string& music() const { return m_music; }
    const std::vector<TrackedSound>& constantSounds() const { return m_constantSounds.tracked(); }
    // Beams whose start cue waits for their first simulation step.
    const std::vector<std::int32_t>& pendingBeamStarts() const { return m_pendingBeams; }

private:
    void onEntityAdded(Entity* entity);
    void onEntityRemoved(Entity* entity);
    void onLevelUnloading();
    void onLevelReady();
    void onGameOver();
    void onLeavingGame();

    void playSoundRequests();
    void playPendingMusic();
    void updateObjectSounds(GameObject& object, float step);
    void playPendingBeamStarts();
    // Fades to the track, or out for an empty one.
    void switchMusic(const std::string& track);

    World& m_world;
    GameAudio& m_audio;
    std::vector<EventConnection> m_connections;
    std::string m_music;
    // Pooled, by entity id.
    struct ObjectSoundRecord;
    std::unordered_map<std::int32_t, ObjectSoundRecord*> m_records;
    ConstantSounds m_constantSounds;
    std::vector<std::int32_t> m_pendingBeams;
    PlayerLoops m_playerLoops;
    // Set while the Game or a level is built: nothing may play.
    bool m_building = true;
};

} // namespace presentation
} // namespace zor
