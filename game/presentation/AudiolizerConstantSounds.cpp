#include "game/presentation/AudiolizerConstantSounds.h"

#include "game/simulation/audio/GameAudio.h"
#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"
#include "game/world/entity/Beam.h"

#include "Framework/core/math/Curve.h"

#include <string>

namespace zor::presentation {

namespace {

struct ConstantSound {
    const std::string* cue = nullptr;  // null: the entity has none
    ListenerMix mix;
};

// The beam's fade timer runs down from its fade time once it fades.
float fadeFactor(const Beam& beam) {
    return CurveTimer{beam.fadeTimer, beam.fadeTime, beam.definition->fadeInterpolation}.value();
}

// An alive actor's cue heard from its body centre within its own distance, or an alive
// beam's heard along its segment as it fades.
ConstantSound constantSoundOf(const Entity* entity, const GameAudio& audio) {
    ConstantSound sound;
    if (!entity || !entity->alive()) return sound;
    if (entity->type() == EntityType::GameObject) {
        const auto& object = static_cast<const GameObject&>(*entity);
        if (object.kind() != GameObjectKind::Actor) return sound;
        const auto& actor = static_cast<const ActorObject&>(object);
        sound.cue = &actor.constantSound;
        sound.mix = audio.mixAt(actor.center(), actor.definition().constantSoundDistance);
    } else if (entity->type() == EntityType::Beam) {
        const auto& beam = static_cast<const Beam&>(*entity);
        const fpVector2 start = beam.getPosition();
        sound.cue = &beam.definition->constantSound;
        sound.mix = audio.mixAlong(start, start + beam.direction * beam.length);
        sound.mix.volume *= fadeFactor(beam);
    }
    return sound;
}

} // namespace

void ConstantSounds::sync(const std::vector<std::int32_t>& ids) {
    m_merged.clear();
    auto old = m_tracked.cbegin();
    auto fresh = ids.cbegin();
    while (old != m_tracked.cend() || fresh != ids.cend()) {
        if (fresh == ids.cend() || (old != m_tracked.cend() && old->id < *fresh)) {
            if (old->handle != 0) m_audio.stop(old->handle);
            ++old;
            continue;
        }
        const std::int32_t id = *fresh;
        if (old != m_tracked.cend() && old->id == id) {
            follow(*old);
            m_merged.push_back(*old);
            ++old;
        } else {
            m_merged.push_back({id, start(id)});
        }
        while (fresh != ids.cend() && *fresh == id) ++fresh;
    }
    m_tracked.swap(m_merged);
}

std::uint32_t ConstantSounds::start(std::int32_t id) {
    const ConstantSound sound = constantSoundOf(m_world.findEntity(id), m_audio);
    if (!sound.cue || sound.cue->empty()) return 0;
    return m_audio.playMixed(*sound.cue, true, sound.mix, 1.0f);
}

void ConstantSounds::follow(const TrackedSound& tracked) {
    if (tracked.handle == 0) return;
    const ConstantSound sound = constantSoundOf(m_world.findEntity(tracked.id), m_audio);
    if (sound.cue) m_audio.setVolumeAndPan(tracked.handle, sound.mix);
}

void ConstantSounds::stopAll() {
    for (const TrackedSound& sound : m_tracked)
        if (sound.handle != 0) m_audio.stop(sound.handle);
    m_tracked.clear();
}

} // namespace zor::presentation
