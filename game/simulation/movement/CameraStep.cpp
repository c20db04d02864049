#include "game/simulation/movement/CameraStep.h"

#include "game/world/World.h"
#include "game/world/entity/ActorObject.h"

#include "Framework/core/math/Curve.h"
#include "Framework/core/math/Randomizer.h"

#include <cmath>

namespace zor {

namespace {

// The pan reaches its target half-way through its progress.
constexpr float PanPeak = 0.5f;
constexpr float FocusShare = 0.3f;
constexpr float FocusReach = 350.0f;  // px
constexpr float FocusEaseIn = 0.8f;   // blend per second
constexpr float FocusEaseOut = 2.0f;
constexpr float StepsPerSecond = 60.0f;
constexpr float SnapDistance = 1.5f;  // px
constexpr float FollowX = 0.4f;       // share of the gap closed per 1/60 s
constexpr float FollowY = 0.25f;

fpVector2 shakeOffset(World& world, float step) {
    CameraShake& shake = world.shake;
    if (!(shake.duration > 0.0f)) return {};
    shake.remaining -= step;
    if (!(shake.remaining > 0.0f)) {
        shake.duration = 0.0f;
        shake.remaining = 0.0f;
        return {};
    }
    const float strength = evaluateCurve(CurveType(shake.curve), shake.remaining / shake.duration);
    return world.random().nextDirection() * (shake.amplitude * strength);
}

bool isFinite(const fpVector2& v) { return std::isfinite(v.x) && std::isfinite(v.y); }

fpVector2 panOffset(World& world, ActorObject& player, const fpVector2& focus, float step) {
    CameraPan& pan = world.pan;
    if (pan.curve == NoCameraCurve) {
        player.busyFlags &= ~BusyFlag::CameraPan;
        return {};
    }
    // A pan set up around World::panCamera that could never end, or would turn the camera
    // into NaN, ends at once.
    if (!(pan.speed > 0.0f) || !std::isfinite(pan.speed) || !std::isfinite(pan.holdTime) ||
        !std::isfinite(pan.progress) || !isFinite(pan.target)) {
        pan.curve = NoCameraCurve;
        player.busyFlags &= ~BusyFlag::CameraPan;
        return {};
    }
    player.busyFlags |= BusyFlag::CameraPan;
    const fpVector2 toTarget = pan.target - focus;
    const float before = pan.progress;
    pan.progress += pan.speed * step / toTarget.length();
    if (before <= PanPeak && pan.progress > PanPeak) {
        if (pan.holdTime < 0.0f) {
            pan.progress = PanPeak;
        } else {
            pan.holdTime -= step;
            if (!(pan.holdTime < 0.0f)) pan.progress = PanPeak;
        }
    }
    if (pan.progress > 1.0f) {
        pan.curve = NoCameraCurve;
        return {};
    }
    const CurveType rise = CurveType(pan.curve);
    return toTarget * curveEnvelope(rise, invertCurve(rise), pan.progress, 0.0f, PanPeak, 1.0f);
}

fpVector2 focusOffset(World& world, const ActorObject& player, float step) {
    if (world.cameraFocusTargetId == 0) return {};
    const GameObject* target = world.findGameObject(world.cameraFocusTargetId);
    if (!target || target->physicalObject.bodies().empty()) {
        world.cameraFocusTargetId = 0;
        return {};
    }
    const fpVector2 apart = target->center() - player.center();
    const fpVector2 lean = apart * FocusShare;
    float& blend = world.cameraFocusBlend;
    if (apart.length() < FocusReach) {
        if ((lean * blend).length() < lean.length()) blend += FocusEaseIn * step;
        return lean * blend;
    }
    if (!(blend > 0.0f)) return {};
    blend -= FocusEaseOut * step;
    if (blend <= 0.0f) blend = 0.0f;
    return lean * blend;
}

// Closes `share` of the gap, snapping when close and never passing the target.
float follow(float current, float desired, float share) {
    const float gap = desired - current;
    if (std::fabs(gap) < SnapDistance) return desired;
    const float next = current + gap * share;
    return (gap > 0.0f ? next > desired : next < desired) ? desired : next;
}

} // namespace

void updateCamera(World& world, float step) {
    ActorObject* player = world.player();
    if (!player || player->physicalObject.bodies().empty()) return;
    const fpVector2 shake = shakeOffset(world, step);
    const fpVector2 focus = player->center() + player->decayingOffset();
    const fpVector2 offset = panOffset(world, *player, focus, step) + focusOffset(world, *player, step);

    Camera& camera = world.camera;
    const fpVector2 desired = focus + offset;
    fpVector2 centre = desired;
    if (step > 0.0f) {
        const fpRect& view = camera.visibleRect;
        const float k = StepsPerSecond * step;
        centre.x = follow(view.x + view.w / 2.0f, desired.x, FollowX * k);
        centre.y = follow(view.y + view.h / 2.0f, desired.y, FollowY * k);
    }
    camera.setTopLeft(centre + shake - camera.viewSize / 2.0f);

    const Level* level = world.level.get();
    if (!level) return;
    for (const fpSegment& line : level->cameraClamps) camera.pushBehindLine(line.start, line.end);
    if (!level->bordersDontClampCamera)
        camera.clampToRect(fpRect(0.0f, 0.0f, float(level->tileMap->width()) * TileSize,
                                  float(level->tileMap->height()) * TileSize));
}

} // namespace zor
