#include "game/simulation/audio/GameAudio.h"

#include "game/world/World.h"

#include "Framework/core/math/Segment.h"
#include "Framework/graphics/screen/Screen.h"

namespace zor {

namespace {

float mainViewWidth() {
    const std::vector<Screen::Viewport>& viewports = Screen::viewports();
    return viewports.empty() ? 0.0f : viewports.front().virtualWidth;
}

} // namespace

fpVector2 GameAudio::listener() const {
    const ActorObject* player = m_world.player();
    if (player && !player->physicalObject.bodies().empty()) return player->center();
    const fpRect& view = m_world.camera.visibleRect;
    return {view.x + view.w / 2.0f, view.y + view.h / 2.0f};
}

ListenerMix GameAudio::mixAt(const fpVector2& point, float range) const {
    return listenerMix(listener(), point, range, mainViewWidth());
}

ListenerMix GameAudio::mixAlong(const fpVector2& from, const fpVector2& to, float range) const {
    const fpVector2 ear = listener();
    return listenerMix(ear, closestPointOnSegment(fpSegment(from, to), ear), range, mainViewWidth());
}

std::uint32_t GameAudio::playCue(const std::string& cue, float gain, float pitch,
                                 const std::optional<fpVector2>& position, bool loop) {
    ListenerMix mix{1.0f, 0.0f};
    if (position) {
        mix = mixAt(*position);
        if (mix.volume <= 0.0f) return 0;
    }
    mix.volume *= gain;
    return start({cue, loop, mix, pitch, position});
}

std::uint32_t GameAudio::playMixed(const std::string& cue, bool loop, const ListenerMix& mix, float pitch) {
    return start({cue, loop, mix, pitch, std::nullopt});
}

} // namespace zor
