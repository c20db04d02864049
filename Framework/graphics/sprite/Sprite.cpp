#include "Framework/graphics/sprite/Sprite.h"

#include "Framework/graphics/batch/CommonBatch.h"
#include "Framework/graphics/batch/Transform2D.h"
#include "Framework/graphics/sprite/ISpriteManager.h"
#include "Framework/graphics/sprite/SpriteDefinition.h"
#include "Framework/graphics/sprite/SpriteFrameRuns.h"
#include "Framework/graphics/sprite/SpriteKeptQuads.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zor {
namespace {

constexpr float pi = 3.1415927f;
constexpr float twoPi = 6.2831855f;

// The key table of roots, which never search their keys: one default state.
const std::vector<SpriteNodeState>& defaultKeys() {
    static const std::vector<SpriteNodeState> keys(1);
    return keys;
}

float frameTimeOf(const ISpriteManager& manager) {
    const float fps = manager.framesPerSecond();
    return fps > 0.0f ? 1.0f / fps : 0.0f;
}

// floor(f) + 0.5 truncated toward zero, kept within int.
int frameIndexOf(float f) {
    const double n = std::floor(static_cast<double>(f)) + 0.5;
    if (!(n > static_cast<double>(INT_MIN))) return INT_MIN;
    if (n >= static_cast<double>(INT_MAX)) return INT_MAX;
    return static_cast<int>(n);
}

// What a key contributes to the node's pose.
struct KeyPose {
    float x, y, scaleX, scaleY, rotation, r, g, b, a;
};

KeyPose poseOf(const SpriteNodeState& k) { return {k.x, k.y, k.scaleX, k.scaleY, k.rotation, k.r, k.g, k.b, k.a}; }

// a + (b - a) t for the placement, a (1 - t) + b t for the colour; the rotation turns the
// short way unless the scale flips sign between the keys, when it jumps to b's. (A key's
// z, pivot and visibility are not animated.)
KeyPose blend(const SpriteNodeState& a, const SpriteNodeState& b, float t) {
    KeyPose k;
    k.x = a.x + (b.x - a.x) * t;
    k.y = a.y + (b.y - a.y) * t;
    k.scaleX = a.scaleX + (b.scaleX - a.scaleX) * t;
    k.scaleY = a.scaleY + (b.scaleY - a.scaleY) * t;
    k.r = a.r * (1.0f - t) + b.r * t;
    k.g = a.g * (1.0f - t) + b.g * t;
    k.b = a.b * (1.0f - t) + b.b * t;
    k.a = a.a * (1.0f - t) + b.a * t;
    if ((a.scaleX > 0.0f) != (b.scaleX > 0.0f) || (a.scaleY > 0.0f) != (b.scaleY > 0.0f)) {
        k.rotation = b.rotation;
    } else {
        const float d = b.rotation - a.rotation;
        if (d < -pi) {
            k.rotation = a.rotation + t * (d + twoPi);
        } else if (d > pi) {
            k.rotation = a.rotation + t * (d - twoPi);
        } else {
            k.rotation = a.rotation + t * d;
        }
    }
    return k;
}

// parent x local: the affine product of their matrices, whose other terms are zero.
// Inline: returned through memory, the placement was read back before its stores landed.
[[gnu::always_inline]] inline Affine2D compose(const Affine2D& p, const Affine2D& l) {
    return {p.xx * l.xx + p.xy * l.yx,          p.yx * l.xx + p.yy * l.yx,
            p.xx * l.xy + p.xy * l.yy,          p.yx * l.xy + p.yy * l.yy,
            (p.xx * l.tx + p.xy * l.ty) + p.tx, (p.yx * l.tx + p.yy * l.ty) + p.ty,
            l.z + p.z};
}

// Colours are worked on four channels at once and stored and loaded whole: a load of
// several narrower stores just made waits for them to land.
using Float4 = float __attribute__((vector_size(16)));

Float4 loadColor(const float* channels) {
    Float4 color;
    std::memcpy(&color, channels, sizeof color);
    return color;
}

void storeColor(float* channels, Float4 color) { std::memcpy(channels, &color, sizeof color); }

// The colour premultiplied by its alpha, each channel scaled to a byte: 0 for NaN and for
// nothing above 0, at most 255, truncated. Without branches.
PackedColor packPremultiplied(Float4 color) {
    using Int4 = std::int32_t __attribute__((vector_size(16)));
    const float alpha = color[3];
    const Float4 scaled = color * Float4{alpha, alpha, alpha, 1.0f} * 255.0f;
    const Float4 none{0.0f, 0.0f, 0.0f, 0.0f};
    const Float4 full{255.0f, 255.0f, 255.0f, 255.0f};
    const Float4 positive = scaled > none ? scaled : none;
    const Int4 channels = __builtin_convertvector(positive < full ? positive : full, Int4);
#if defined(__SSE2__)
    // Every channel is within a byte, so the saturating packs only narrow: 32 bits to 16
    // to 8, in order. (The compiler takes the four bytes out one by one otherwise.)
    const __m128i halves = _mm_packs_epi32(__m128i(channels), __m128i(channels));
    return PackedColor(static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(halves, halves))));
#else
    return PackedColor::fromChannels(std::uint8_t(channels[0]), std::uint8_t(channels[1]), std::uint8_t(channels[2]),
                                     std::uint8_t(channels[3]));
#endif
}

fpVector2 transformPoint(const Affine2D& m, float x, float y) {
    return {m.xx * x + m.xy * y + m.tx, m.yx * x + m.yy * y + m.ty};
}

const std::string playCuePrefix = "playCue:";
const std::string loopCueMark = "[loopAnim]";

} // namespace

Sprite::Sprite() { useKeys(defaultKeys()); }

Sprite::~Sprite() {
    delete[] m_ownedDescendants;
}

void Sprite::initFromDefinition(const SpriteDefinition& definition, ISpriteManager& manager) {
    m_frameTime = frameTimeOf(manager);
    m_definition = &definition;
    m_manager = &manager;
    useKeys(defaultKeys());
    m_enabled = true;
    refreshShown();
    if (definition.descendantCount > 0) m_ownedDescendants = new Sprite[definition.descendantCount];
    createChildren(m_ownedDescendants);
}

// The node's children fill the block at `firstChild`; each child's own descendants follow
// the children's block in child order.
void Sprite::createChildren(Sprite* firstChild) {
    m_children = firstChild;
    m_childCount = static_cast<int>(m_definition->children.size());
    Sprite* cursor = firstChild + m_childCount;
    for (int i = 0; i < m_childCount; ++i) {
        const SpriteNodeDefinition& record = *m_definition->children[i];
        m_children[i].initChild(this, record, cursor);
        cursor += record.definition->descendantCount;
    }
}

void Sprite::initChild(Sprite* parent, const SpriteNodeDefinition& record, Sprite* firstChild) {
    m_parent = parent;
    m_manager = parent->m_manager;
    m_frameTime = frameTimeOf(*m_manager);
    m_nodeDefinition = &record;
    m_definition = record.definition;
    if (!m_definition->textureName.empty()) m_manager->findTexture(m_definition->textureName, m_image);

    m_state.x = record.x;
    m_state.y = record.y;
    m_state.rotation = record.rotation;
    m_state.scaleX = record.scaleX;
    m_state.scaleY = record.scaleY;
    m_state.pivotX = -m_definition->originX;
    m_state.pivotY = -m_definition->originY;
    m_state.r = record.r;
    m_state.g = record.g;
    m_state.b = record.b;
    m_state.a = record.a;
    m_state.firstFrame = record.firstFrame;
    m_state.lastFrame = record.lastFrame;
    m_enabled = record.enabled;
    refreshShown();
    m_depth = record.depth;
    // A child without keys stands still in its placement.
    useKeys(record.keys.empty() ? defaultKeys() : record.keys);
    if (m_state.lastFrame > parent->m_lastFrame) parent->m_lastFrame = m_state.lastFrame;
    refreshImageSource();

    createChildren(firstChild);
}

void Sprite::play() {
    m_time = 0.0f;
    m_currentFrame = 0;
    m_frameFraction = 0.0f;
    m_poseDirty = true;
    m_playing = true;
    m_finished = false;
    m_playOnce = false;
    wake();
    forgetShownOrder();
}

void Sprite::playOnce() {
    play();
    m_playOnce = true;
}

void Sprite::playFromFrame(std::uint32_t frame, bool once) {
    m_currentFrame = std::min(frame, m_lastFrame);
    m_playing = true;
    m_playOnce = once;
    m_time = static_cast<float>(m_currentFrame) * m_frameTime;
    m_frameFraction = 0.0f;
    m_poseDirty = true;
    wake();
    forgetShownOrder();
}

void Sprite::setFrame(std::uint32_t frame) {
    m_currentFrame = std::min(frame, m_lastFrame);
    m_playing = false;
    m_playOnce = false;
    m_time = static_cast<float>(m_currentFrame) * m_frameTime;
    m_frameFraction = 0.0f;
    m_poseDirty = true;
    wake();
    forgetShownOrder();
}

bool Sprite::setFrameByName(const std::string& animation) {
    const int frame = getAnimationFirstFrame(animation);
    if (frame < 0) return false;
    setFrame(static_cast<std::uint32_t>(frame));
    return true;
}

void Sprite::restart() {
    m_currentFrame = 0;
    m_time = 0.0f;
    m_playing = true;
    m_playOnce = false;
    m_frameFraction = 0.0f;
    m_poseDirty = true;
    wake();
    forgetShownOrder();
    for (int i = 0; i < m_childCount; ++i) m_children[i].restart();
}

void Sprite::resetToStart() {
    m_time = 0.0f;
    m_frameFraction = 0.0f;
    m_poseDirty = true;
    m_cueMarker = -1.0f;
    m_currentFrame = 0;
    m_finished = false;
    wake();
    forgetShownOrder();
    for (int i = 0; i < m_childCount; ++i) m_children[i].resetToStart();
}

void Sprite::setInterpolation(bool interpolate) {
    for (int i = 0; i < m_childCount; ++i) {
        Sprite& child = m_children[i];
        // Switched on, the node blends from its next update; switched off, it keeps its
        // pose until its key changes.
        if (interpolate && !child.m_interpolate) child.m_dirty = true;
        if (interpolate != child.m_interpolate) {
            child.m_poseDirty = true;
            child.wake();
        }
        child.m_interpolate = interpolate;
        child.setInterpolation(interpolate);
    }
}

void Sprite::setEnabled(bool enabled) {
    if (enabled == m_enabled) return;
    m_enabled = enabled;
    refreshShown();
    wake();
}

void Sprite::wake() {
    for (Sprite* node = this; node; node = node->m_parent) node->m_stillBelow = false;
}

void Sprite::forgetShownOrder() {
    Sprite* node = this;
    while (node->m_parent) node = node->m_parent;
    node->m_shownOrderFresh = false;
}

bool Sprite::childrenStand(bool played) const {
    if (m_childCount == 0) return true;
    const std::vector<std::uint32_t>& runs = m_definition->childFrameRuns;
    if (m_currentFrame == m_walkedFrame) return !played || !childBlendsAt(runs, m_currentFrame);
    return childrenStandAcross(runs, m_walkedFrame, m_currentFrame);
}

bool Sprite::setPosition(float x, float y) {
    if (m_state.x == x && m_state.y == y) return false;
    m_state.x = x;
    m_state.y = y;
    changePose();
    return true;
}

bool Sprite::setZ(float z) {
    if (m_state.z == z) return false;
    m_state.z = z;
    changePose();
    return true;
}

bool Sprite::setUniformScale(float scale) {
    if (m_state.scaleX == scale && m_state.scaleY == scale) return false;
    m_state.scaleX = scale;
    m_state.scaleY = scale;
    changePose();
    return true;
}

bool Sprite::setRotation(float angle) {
    if (m_state.rotation == angle) return false;
    m_state.rotation = angle;
    changePose();
    return true;
}

bool Sprite::setAlpha(float alpha) {
    if (m_state.a == alpha) return false;
    m_state.a = alpha;
    refreshShown();
    changePose();
    return true;
}

void Sprite::setPivot(float x, float y) {
    if (m_state.pivotX == x && m_state.pivotY == y) return;
    m_state.pivotX = x;
    m_state.pivotY = y;
    changePose();
    refreshImageSource();
}

void Sprite::setCrop(const fpRect& crop) {
    m_crop = crop;
    refreshImageSource();
}

void Sprite::setScale(float x, float y) {
    if (m_state.scaleX == x && m_state.scaleY == y) return;
    m_state.scaleX = x;
    m_state.scaleY = y;
    changePose();
}

void Sprite::setColor(float r, float g, float b, float a) {
    if (m_state.r == r && m_state.g == g && m_state.b == b && m_state.a == a) return;
    m_state.r = r;
    m_state.g = g;
    m_state.b = b;
    m_state.a = a;
    refreshShown();
    changePose();
}

void Sprite::advanceTime(float dt) {
    if (m_lastFrame == 0) {
        if (m_playOnce) {
            m_playing = false;
            m_finished = true;
            m_currentFrame = 0;
        }
        return;
    }
    m_time += m_speed * dt;
    const int n = frameIndexOf(m_time / m_frameTime);
    const float loopTime = (static_cast<float>(m_lastFrame) + 1.0f) * m_frameTime;
    if (n < 0) {
        m_currentFrame = m_lastFrame;
        m_time = std::fmod(m_time, loopTime);
    } else if (static_cast<std::uint32_t>(n) <= m_lastFrame) {
        m_currentFrame = static_cast<std::uint32_t>(n);
    } else if (m_playOnce) {
        m_playing = false;
        m_finished = true;
        m_currentFrame = m_lastFrame;
    } else {
        m_currentFrame = 0;
        m_time = std::fmod(m_time, loopTime);
    }
}

float Sprite::frameFractionOfTime() const {
    if (!(m_frameTime > 0.0f)) return 0.0f;
    const float frames = m_time / m_frameTime;
    // fmod(frames, 1) without the call: the difference is exact, and fmod's zero takes
    // the sign of frames.
    return std::copysign(frames - std::trunc(frames), frames);
}

// From the present key on, then from the first, to the first key holding the parent's
// frame; key 0 when none does.
// Inline: once per node and step, from update alone.
template <class ParentFraction>
inline void Sprite::findKey(std::uint32_t frame, bool parentDirty, const ParentFraction& parentFraction) {
    // Mostly the present key still holds.
    const SpriteNodeState* key = m_key->holdsFrame(frame) ? m_key : searchKey(frame);
    if (key != m_key) {
        markPose();
    } else if (parentDirty) {
        m_dirty = true;
    }
    m_key = key;
    if (m_interpolate) {
        // A key spanning several frames holds still and blends towards the next key only
        // during its last frame. The pose depends on nothing else, so an unchanged
        // fraction of an unchanged key keeps it.
        const float fraction = frame == key->lastFrame ? parentFraction() : 0.0f;
        if (!(fraction == m_frameFraction)) markPose();
        m_frameFraction = fraction;
    }
}

void Sprite::useKeys(const std::vector<SpriteNodeState>& keys) {
    m_keys = keys.data();
    m_key = m_keys;
    m_keyCount = static_cast<int>(keys.size());
}

const SpriteNodeState* Sprite::searchKey(std::uint32_t frame) const {
    const SpriteNodeState* const end = m_keys + m_keyCount;
    for (const SpriteNodeState* key = m_key + 1; key < end; ++key) {
        if (key->holdsFrame(frame)) return key;
    }
    for (const SpriteNodeState* key = m_keys; key < m_key; ++key) {
        if (key->holdsFrame(frame)) return key;
    }
    return m_keys;
}

void Sprite::turnTo(float angle) {
    if (angle == m_angle) return;
    m_angle = angle;
    const Rotation2D rotation = Rotation2D::of(angle);
    m_cos = rotation.cos;
    m_sin = rotation.sin;
}

void Sprite::composeLocalPose() {
    const bool blending = m_interpolate && m_frameFraction != 0.0f && m_key + 1 < m_keys + m_keyCount;
    const KeyPose key = blending ? blend(m_key[0], m_key[1], m_frameFraction) : poseOf(*m_key);

    // The sine and cosine change with the key (or the blend), not every step.
    turnTo(m_state.rotation + key.rotation);
    const float sx = m_state.scaleX * key.scaleX;
    const float sy = m_state.scaleY * key.scaleY;
    m_local = {m_cos * sx, m_sin * sx, -m_sin * sy, m_cos * sy, m_state.x + key.x, m_state.y + key.y, m_state.z};
    storeColor(m_localColor, Float4{m_state.r, m_state.g, m_state.b, m_state.a} * Float4{key.r, key.g, key.b, key.a});
    m_poseDirty = false;
}

void Sprite::recompose() {
    if (m_poseDirty) composeLocalPose();
    Float4 color = loadColor(m_localColor);
    if (m_parent) {
        m_world = compose(m_parent->m_world, m_local);
        color *= loadColor(m_parent->m_worldColor);
    } else {
        m_world = m_local;
    }
    storeColor(m_worldColor, color);
    m_packedColor = packPremultiplied(color);
    if (m_keptQuad) keepQuad();
}

inline void Sprite::step(float dt) {
    if (m_playing && m_frameTime > 0.0f) advanceTime(dt);
    if (m_parent) {
        findKey(m_parent->m_currentFrame, m_parent->m_dirty, [this] { return m_parent->frameFractionOfTime(); });
    }
    if (m_dirty) recompose();
}

template <class ParentFraction>
inline void Sprite::stepUnder(float dt, std::uint32_t parentFrame, bool parentDirty,
                              const ParentFraction& parentFraction) {
    if (m_playing && m_frameTime > 0.0f) advanceTime(dt);
    findKey(parentFrame, parentDirty, parentFraction);
    if (m_dirty) recompose();
}

void Sprite::update(float dt, bool force) {
    // The parent's walk must reach the node again.
    if (m_parent) m_parent->wake();
    const bool played = m_playing;
    step(dt);
    if (stillBelow(played, force)) return;
    updateChildren(dt, force);
}

void Sprite::updateChildren(float dt, bool force) {
    // The children blending in this step share one division.
    float fraction = 0.0f;
    bool fractionKnown = false;
    const auto parentFraction = [&] {
        if (!fractionKnown) {
            fraction = frameFractionOfTime();
            fractionKnown = true;
        }
        return fraction;
    };
    // Held here: the children's stores could otherwise be this node's, to the compiler.
    const std::uint32_t frame = m_currentFrame;
    const std::uint32_t walked = m_walkedFrame;
    const bool dirty = m_dirty;
    Sprite* const children = m_children;
    // Which children are alive changes only from one life run to another.
    const bool shownChange = frame != walked && childLivesDiffer(m_definition->childFrameRuns, walked, frame);
    // A forced walk reaches children out of their life, which the next one leaves alone:
    // it proves nothing for it.
    bool still = !force;
    for (int i = m_childCount - 1; i >= 0; --i) {
        Sprite& child = children[i];
        if (child.m_enabled && (force || child.alive(frame))) {
            const bool played = child.m_playing;
            child.stepUnder(dt, frame, dirty, parentFraction);
            // Most nodes are leaves: finished here, they spare a call each.
            if (child.m_childCount == 0) {
                child.m_dirty = false;
            } else {
                if (!child.stillBelow(played, force)) child.updateChildren(dt, force);
                still &= child.m_stillBelow;
            }
            still &= !child.m_playing;
        } else {
            // Recomposes when it comes back.
            child.m_dirty = true;
        }
    }
    m_stillBelow = still;
    m_walkedFrame = frame;
    m_dirty = false;
    if (shownChange) forgetShownOrder();
}

void Sprite::updateWithCues(float dt, const CuePlayer& playCue) {
    const std::uint32_t previous = m_currentFrame;
    update(dt, false);
    if (!m_cues || !m_playing || !(m_frameTime > 0.0f) || !m_definition) return;
    const auto& labels = m_definition->labels;
    for (auto label = labels.lower_bound(previous); label != labels.end() && label->first < m_currentFrame;
         ++label) {
        playCueLabel(label->second, playCue);
    }
}

void Sprite::playCueLabel(const std::string& label, const CuePlayer& playCue) const {
    if (label.compare(0, playCuePrefix.size(), playCuePrefix) != 0) return;
    std::string cue = label.substr(playCuePrefix.size());
    const std::size_t mark = cue.rfind(loopCueMark);
    const bool loop = mark != std::string::npos && mark + loopCueMark.size() == cue.size();
    if (loop) {
        if (m_cueMarker != -1.0f) return;
        cue.erase(mark);
    }
    playCue(cue);
}

inline void Sprite::drawImage(CommonBatch& batch) const {
    batch.drawPlaced(*m_image.texture, m_world, m_source, m_sourceOffset, m_packedColor, 0);
}

inline void Sprite::drawImage(ITextureBatch& batch) const {
    const std::uint32_t reserved = 0;
    batch.drawMatrix(*m_image.texture, toMatrix(m_world), m_source, m_packedColor, reserved, m_sourceOffset, 0);
}

void Sprite::draw(ITextureBatch& batch) const {
    if (!m_shown) return;
    CommonBatch* direct = batch.commonBatch();
    if (!direct) {
        drawTree(batch);
    } else if (m_parent) {
        drawTree(*direct);
    } else {
        drawKept(*direct);
    }
}

void Sprite::drawKept(CommonBatch& batch) const {
    if (!SpriteKeptQuads::keepsFor(batch)) return drawTree(batch);
    if (!m_keptQuads) m_keptQuads = std::make_unique<SpriteKeptQuads>(1 + descendantCount());
    SpriteKeptQuads& kept = *m_keptQuads;
    switch (kept.useForDraw()) {
    case SpriteKeptQuads::Use::Rest:
        forEachNodeInDrawOrder([](const Sprite& node) { node.m_keptQuad = nullptr; });
        return drawTree(batch);
    case SpriteKeptQuads::Use::Direct:
        return drawTree(batch);
    case SpriteKeptQuads::Use::Copy:
        break;
    }
    if (!kept.current() || !kept.writtenFor(batch)) {
        kept.writeFor(batch);
        keepQuads();
    }
    if (!m_shownOrderFresh) {
        kept.clearShown();
        drawTree(kept);
        m_shownOrderFresh = true;
    }
    kept.drawInto(batch);
}

void Sprite::keepQuads() const {
    int slot = 0;
    forEachNodeInDrawOrder([&](const Sprite& node) {
        if (!node.m_image.texture) return;
        Quad& quad = m_keptQuads->quad(slot++);
        node.m_kept = m_keptQuads.get();
        node.m_keptQuad = &quad;
        node.keepQuad();
    });
    m_keptQuads->markCurrent();
}

// Every node, shown or not, alive or not, in the order drawTree would reach it.
template <class Visit>
void Sprite::forEachNodeInDrawOrder(const Visit& visit) const {
    visit(*this);
    for (int i = 0; i < m_childCount; ++i) m_children[i].forEachNodeInDrawOrder(visit);
}

int Sprite::descendantCount() const { return m_definition ? std::max(0, m_definition->descendantCount) : 0; }

inline void Sprite::keepQuad() const {
    m_kept->place(*m_keptQuad, *m_image.texture, m_world, m_source, m_sourceOffset, m_packedColor);
}

inline void Sprite::drawImage(SpriteKeptQuads& kept) const { kept.show(*m_keptQuad, *m_image.texture); }

template <class Batch>
void Sprite::drawTree(Batch& batch) const {
    if (m_image.texture) drawImage(batch);
    // Held here: a quad is stored through bytes, which the compiler takes for any node's.
    const std::uint32_t frame = m_currentFrame;
    const Sprite* const end = m_children + m_childCount;
    for (const Sprite* child = m_children; child != end; ++child) {
        if (!child->m_shown || !child->alive(frame)) continue;
        // Leaves are drawn here, as they are stepped: a call each cost them a fifth of their time.
        if (child->m_childCount != 0) {
            child->drawTree(batch);
        } else if (child->m_image.texture) {
            child->drawImage(batch);
        }
    }
}

void Sprite::refreshImageSource() {
    const fpRect& image = m_image.rect;
    const float cropX = m_crop.x * image.w;
    const float cropY = m_crop.y * image.h;
    m_source = fpRect(image.x + cropX, image.y + cropY, image.w * m_crop.w, image.h * m_crop.h);
    m_sourceOffset = fpVector2(m_state.pivotX, m_state.pivotY);
    if (m_crop.x != 0.0f || m_crop.y != 0.0f) m_sourceOffset -= fpVector2(cropX, cropY);
    if (m_keptQuad) keepQuad();
}

fpRect Sprite::localBounds() const {
    if (!m_image.texture) {
        const fpVector2 origin = transformPoint(m_world, -m_state.pivotX, -m_state.pivotY);
        return fpRect(origin.x, origin.y, 0.0f, 0.0f);
    }
    const float w = m_image.rect.w;
    const float h = m_image.rect.h;
    float cx, cy, hw, hh;
    if (m_crop.x != 0.0f || m_crop.y != 0.0f) {
        hw = w * m_crop.w / 2.0f;
        hh = h * m_crop.h / 2.0f;
        cx = m_crop.x * w + hw - m_state.pivotX;
        cy = m_crop.y * h + hh - m_state.pivotY;
    } else {
        // Extents alone do not shrink the bounds.
        hw = w / 2.0f;
        hh = h / 2.0f;
        cx = hw - m_state.pivotX;
        cy = hh - m_state.pivotY;
    }
    const fpVector2 centre = transformPoint(m_world, cx, cy);
    const Affine2D& m = m_world;
    const float ex = std::fabs(m.xx) * hw + std::fabs(m.xy) * hh;
    const float ey = std::fabs(m.yx) * hw + std::fabs(m.yy) * hh;
    return fpRect(centre.x - ex, centre.y - ey, 2.0f * ex, 2.0f * ey);
}

fpRect Sprite::computeBounds() const {
    fpRect bounds = localBounds();
    for (int i = 0; i < m_childCount; ++i) {
        const Sprite& child = m_children[i];
        if (child.m_enabled && child.alive(m_currentFrame)) bounds.unite(child.computeBounds());
    }
    return bounds;
}

fpRect Sprite::computeBoundsRelative() const {
    fpRect bounds = computeBounds();
    bounds.x -= m_state.x;
    bounds.y -= m_state.y;
    return bounds;
}

Sprite* Sprite::findVisibleChild() {
    for (int i = 0; i < m_childCount; ++i) {
        if (m_children[i].alive(m_currentFrame)) return &m_children[i];
    }
    return nullptr;
}

Sprite* Sprite::findChild(const std::string& name) {
    for (int i = 0; i < m_childCount; ++i) {
        if (m_children[i].alive(m_currentFrame) && m_children[i].name() == name) return &m_children[i];
    }
    for (int i = 0; i < m_childCount; ++i) {
        if (!m_children[i].alive(m_currentFrame)) continue;
        if (Sprite* found = m_children[i].findChild(name)) return found;
    }
    return nullptr;
}

Sprite* Sprite::findDescendant(const std::string& name) {
    for (int i = 0; i < m_childCount; ++i) {
        if (m_children[i].name() == name) return &m_children[i];
    }
    for (int i = 0; i < m_childCount; ++i) {
        if (Sprite* found = m_children[i].findDescendant(name)) return found;
    }
    return nullptr;
}

Sprite* Sprite::findCurrencyChild() {
    static const std::string currency = "currency";
    for (int i = 0; i < m_childCount; ++i) {
        if (m_children[i].name() == currency) return &m_children[i];
    }
    return nullptr;
}

void Sprite::visitChildren(const std::string& name, const std::function<void(Sprite&)>& visit, SpriteVisit mode) {
    for (int i = 0; i < m_childCount; ++i) {
        if (mode == SpriteVisit::All || m_children[i].name() == name) visit(m_children[i]);
    }
    for (int i = 0; i < m_childCount; ++i) {
        Sprite& child = m_children[i];
        if (mode == SpriteVisit::NamedSubtrees) {
            child.visitChildren(name, visit, child.name() == name ? SpriteVisit::All : SpriteVisit::NamedSubtrees);
        } else {
            child.visitChildren(name, visit, mode);
        }
    }
}

void Sprite::collectNodes(std::vector<Sprite*>& out) {
    for (int i = 0; i < m_childCount; ++i) {
        out.push_back(&m_children[i]);
        m_children[i].collectAlive(out);
    }
}

void Sprite::collectAlive(std::vector<Sprite*>& out) {
    for (int i = 0; i < m_childCount; ++i) {
        Sprite& child = m_children[i];
        if (!child.m_enabled || !child.alive(m_currentFrame)) continue;
        out.push_back(&child);
        child.collectAlive(out);
    }
}

int Sprite::getAnimationFirstFrame(const std::string& animation) const {
    if (!m_definition) return -1;
    const auto found = m_definition->animations.find(animation);
    return found == m_definition->animations.end() ? -1 : static_cast<int>(found->second.first);
}

int Sprite::getAnimationLastFrame(const std::string& animation) const {
    if (!m_definition) return -1;
    const auto found = m_definition->animations.find(animation);
    return found == m_definition->animations.end() ? -1 : static_cast<int>(found->second.last);
}

const std::vector<SettingValue>& Sprite::getNameParameters() const {
    static const std::vector<SettingValue> none;
    return m_nodeDefinition ? m_nodeDefinition->nameParameters : none;
}

const std::string& Sprite::name() const {
    return m_nodeDefinition ? m_nodeDefinition->name : m_definition->name;
}

template <class Match>
bool Sprite::findShape(const Match& match, std::vector<fpVector2>& points, bool searchChildren,
                       bool worldSpace) const {
    if (m_definition) {
        for (const SpriteShape& shape : m_definition->shapes) {
            if (!match(shape)) continue;
            const auto key = std::find_if(shape.keys.begin(), shape.keys.end(),
                                          [this](const SpriteNodeState& k) { return k.holdsFrame(m_currentFrame); });
            if (key == shape.keys.end()) continue;
            Affine2D transform = makeAffine2D(key->x, key->y, 0.0f, key->scaleX, key->scaleY, key->rotation);
            if (worldSpace) transform = compose(m_world, transform);
            // An odd last coordinate has no partner and is left out.
            for (std::size_t i = 0; i + 1 < shape.coordinates.size(); i += 2) {
                points.push_back(transformPoint(transform, shape.coordinates[i], shape.coordinates[i + 1]));
            }
            return true;
        }
    }
    if (!searchChildren) return false;
    for (int i = 0; i < m_childCount; ++i) {
        const Sprite& child = m_children[i];
        if (child.alive(m_currentFrame) && child.findShape(match, points, true, worldSpace)) return true;
    }
    return false;
}

bool Sprite::findCollisionShape(const std::string& name, std::vector<fpVector2>& points, bool searchChildren,
                                bool worldSpace) const {
    if (name.empty()) return false;
    return findShape([&name](const SpriteShape& shape) { return shape.name == name; }, points, searchChildren,
                     worldSpace);
}

bool Sprite::findShapeOfType(std::uint8_t type, std::vector<fpVector2>& points, bool searchChildren,
                             bool worldSpace) const {
    return findShape([type](const SpriteShape& shape) { return shape.type == type; }, points, searchChildren,
                     worldSpace);
}

bool Sprite::getHitShape(std::vector<fpVector2>& points, bool worldSpace) const {
    points.clear();
    return findShapeOfType(SpriteShapeHitArea, points, false, worldSpace);
}

} // namespace zor
