#pragma once
// An animated tree of image nodes made from a sprite definition. Everything the game shows
// that is not a tile or a text is one: world objects, effects, lights, menus (whose widgets
// are laid out from the nodes of a layout sprite) and scenes.
//
// A tree is two pool allocations: the root alone, and one array holding every descendant,
// where the children of each node are contiguous. Roots are held through an intrusive
// count (SpritePtr); the whole tree goes with its root, and so do the quads a root keeps
// once drawn into a CommonBatch (SpriteKeptQuads). A tree is made on the thread that
// asks its manager (the worker while a level loads) and then updated, drawn and queried
// on the main thread; nodes take no locks.
//
// Every node has its own timeline: frames 0 to its last frame, the largest end of its
// children's life ranges. A child is alive while its parent's current frame lies in its
// life range, and takes the key of its key list whose frame range holds that frame.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <boost/intrusive_ptr.hpp>

#include "Framework/core/math/Color.h"
#include "Framework/core/math/Matrix4.h"
#include "Framework/core/math/Rect.h"
#include "Framework/core/math/Vector.h"
#include "Framework/core/memory/PooledObject.h"
#include "Framework/core/settings/SettingValue.h"
#include "Framework/graphics/batch/Transform2D.h"
#include "Framework/graphics/sprite/SpriteNodeState.h"
#include "Framework/graphics/textureset/TextureSet.h"

namespace zor {

class CommonBatch;
class ISpriteManager;
class SpriteKeptQuads;
struct Quad;
class ITextureBatch;
struct SpriteDefinition;
struct SpriteNodeDefinition;
class Sprite;

using SpritePtr = boost::intrusive_ptr<Sprite>;

// Which nodes Sprite::visitChildren reaches below the node.
enum class SpriteVisit {
    Named = 0,          // every descendant with the name
    NamedSubtrees = 1,  // those and every node below them
    All = 2,            // every descendant
};

class Sprite : public PooledObjectArrays {
public:
    // Plays a named sound cue (a frame label "playCue:<name>").
    using CuePlayer = std::function<void(const std::string& cue)>;

    Sprite();
    virtual ~Sprite();
    Sprite(const Sprite&) = delete;
    Sprite& operator=(const Sprite&) = delete;

    // Makes this fresh node the root of a tree of `definition` (a linked definition of
    // the manager's set).
    void initFromDefinition(const SpriteDefinition& definition, ISpriteManager& manager);

    // Playback of this node alone unless said otherwise.
    void play();
    void playOnce();
    // Starts at the frame (clamped to the last frame); the finished flag stays.
    void playFromFrame(std::uint32_t frame, bool once);
    // Stops on the frame (clamped to the last frame).
    void setFrame(std::uint32_t frame);
    // setFrame on the first frame of the named animation; false when there is none.
    bool setFrameByName(const std::string& animation);
    // Recursive: frame 0, time 0, playing, looping; the finished flag stays.
    void restart();
    // Recursive: frame 0, time 0, finished cleared, cue marker -1; playing and play-once stay.
    void resetToStart();
    // On every descendant, not on the node itself.
    void setInterpolation(bool interpolate);
    void setPlayOnce(bool once) { m_playOnce = once; }
    void setSpeed(float speed) { m_speed = speed; }
    // Lets updateWithCues play the cues of the frames passed.
    void setCuesEnabled(bool enabled) { m_cues = enabled; }
    // Loop cues ("[loopAnim]") play only while it is -1.
    void setCueMarker(float marker) { m_cueMarker = marker; }

    // Setters store the value and mark the node for recomposing only when it changed.
    bool setPosition(float x, float y);
    bool setZ(float z);
    bool setUniformScale(float scale);
    bool setRotation(float angle);
    bool setAlpha(float alpha);
    void setPivot(float x, float y);
    void setScale(float x, float y);
    void setColor(float r, float g, float b, float a);
    // A disabled node is not updated or drawn and is left out of bounds.
    void setEnabled(bool enabled);
    // The share of the image drawn, relative to it: u start, v start, u extent, v extent.
    void setCrop(const fpRect& crop);

    // Advances the timeline by dt seconds and recomposes what changed, then the children
    // alive at the current frame (all enabled children with `force`).
    void update(float dt, bool force);
    // update(dt, false), then, with cues enabled and still playing, plays the "playCue:"
    // label of each frame from the frame shown before up to (not including) the new one.
    void updateWithCues(float dt, const CuePlayer& playCue);
    // Queues the node's image and then its enabled, visible children alive at the
    // current frame. A root drawn into a CommonBatch keeps its tree's quads from then on:
    // nodes rewrite theirs as they change, and the draw copies them.
    void draw(ITextureBatch& batch) const;
    // World bounds of the node's image united with those of its enabled children alive at
    // the current frame. A node without image adds its pivot-adjusted origin.
    fpRect computeBounds() const;
    // computeBounds less the node's position.
    fpRect computeBoundsRelative() const;

    // Queries.
    // The first direct child alive at the current frame, or null.
    Sprite* findVisibleChild();
    // Among the children alive at the current frame: the first with the name, else the
    // first match below them in child order.
    Sprite* findChild(const std::string& name);
    // The same through every child whatever its life range.
    Sprite* findDescendant(const std::string& name);
    // The direct child named "currency", or null.
    Sprite* findCurrencyChild();
    // Calls `visit` on the children that `mode` selects, then walks below them.
    void visitChildren(const std::string& name, const std::function<void(Sprite&)>& visit, SpriteVisit mode);
    // Every direct child, each followed depth first by its enabled descendants alive at
    // their parent's current frame.
    void collectNodes(std::vector<Sprite*>& out);
    // First or last frame of the named animation of the node's definition, or -1.
    int getAnimationFirstFrame(const std::string& animation) const;
    int getAnimationLastFrame(const std::string& animation) const;
    // The texts after each "__" of the node's name; empty for a root.
    const std::vector<SettingValue>& getNameParameters() const;
    // Shapes valid at the current frame: the first with the name (or type) appends its
    // points, transformed by its key and, with worldSpace, by the node's world matrix.
    // With searchChildren the children alive at the current frame are searched next.
    bool findCollisionShape(const std::string& name, std::vector<fpVector2>& points, bool searchChildren,
                            bool worldSpace) const;
    bool findShapeOfType(std::uint8_t type, std::vector<fpVector2>& points, bool searchChildren,
                         bool worldSpace) const;
    // Clears `points`, then the node's own hit area (shape type 3).
    bool getHitShape(std::vector<fpVector2>& points, bool worldSpace) const;

    // The node definition's whole name; a root answers with its definition's name.
    const std::string& name() const;
    const SpriteNodeState& localState() const { return m_state; }
    float depth() const { return m_depth; }
    Sprite* parent() const { return m_parent; }
    int childCount() const { return m_childCount; }
    Sprite& child(int index) { return m_children[index]; }
    const Sprite& child(int index) const { return m_children[index]; }
    bool enabled() const { return m_enabled; }
    const fpRect& crop() const { return m_crop; }
    float time() const { return m_time; }
    float frameTime() const { return m_frameTime; }
    std::uint32_t currentFrame() const { return m_currentFrame; }
    std::uint32_t lastFrame() const { return m_lastFrame; }
    int keyIndex() const { return static_cast<int>(m_key - m_keys); }
    float frameFraction() const { return m_frameFraction; }
    float speed() const { return m_speed; }
    float cueMarker() const { return m_cueMarker; }
    bool isDirty() const { return m_dirty; }
    bool interpolates() const { return m_interpolate; }
    bool isPlaying() const { return m_playing; }
    bool isFinished() const { return m_finished; }
    bool isPlayOnce() const { return m_playOnce; }
    bool cuesEnabled() const { return m_cues; }
    // Local colour times key colour times the parent's world colour.
    const float* worldColor() const { return m_worldColor; }
    // The world colour premultiplied by alpha, as drawn.
    PackedColor packedColor() const { return m_packedColor; }
    // Parent's placement x the node's own: position, rotation and scale of key and node.
    const Affine2D& worldPlacement() const { return m_world; }
    fpMatrix4 worldMatrix() const { return toMatrix(m_world); }
    const SpriteNodeDefinition* nodeDefinition() const { return m_nodeDefinition; }
    const SpriteDefinition* definition() const { return m_definition; }
    const TextureSetReference& image() const { return m_image; }
    ISpriteManager* manager() const { return m_manager; }

    friend void intrusive_ptr_add_ref(Sprite* sprite) { ++sprite->m_referenceCount; }
    friend void intrusive_ptr_release(Sprite* sprite) {
        if (--sprite->m_referenceCount <= 0) delete sprite;
    }

private:
    void initChild(Sprite* parent, const SpriteNodeDefinition& record, Sprite* firstChild);
    void createChildren(Sprite* firstChild);
    bool alive(std::uint32_t parentFrame) const { return m_state.holdsFrame(parentFrame); }
    void advanceTime(float dt);
    // Picks the key holding the parent's frame and the blend fraction, marking what they
    // and a dirty parent change. `parentFraction` yields the parent's fraction of its
    // current frame.
    template <class ParentFraction>
    void findKey(std::uint32_t parentFrame, bool parentDirty, const ParentFraction& parentFraction);
    const SpriteNodeState* searchKey(std::uint32_t parentFrame) const;
    // The part of its current frame the node's time has passed: its children blend by it.
    float frameFractionOfTime() const;
    // The keys live in a definition (or are the roots' default), never in the node.
    void useKeys(const std::vector<SpriteNodeState>& keys);
    void recompose();
    // The local pose, from the node's state and key, to be composed with the parent's.
    void composeLocalPose();
    // Everything the local pose is made from may have changed.
    void markPose() { m_dirty = m_poseDirty = true; }
    // The node changed between updates: the next update walks down to it again.
    void wake();
    // Which nodes the root shows may have changed (by a frame or a node's shown flag).
    void forgetShownOrder();
    // markPose from outside an update.
    void changePose() {
        markPose();
        wake();
    }
    // Nothing below the node can change in this step: its pose stands, the nodes below
    // stand, and its children would find the keys and life states they were stepped in,
    // blending nowhere (`played`: whether the node played when the step began, as the last
    // one may stop it).
    bool stillBelow(bool played, bool force) const {
        return m_stillBelow && !m_dirty && !force && childrenStand(played);
    }
    bool childrenStand(bool played) const;
    // The node's own part of update: its timeline, its key and its pose.
    void step(float dt);
    // step for a child once its parent has stepped, with the parent's frame and flag as the
    // parent's loop holds them: the parent's fraction is worked out once for all its
    // children and only when one needs it.
    template <class ParentFraction>
    void stepUnder(float dt, std::uint32_t parentFrame, bool parentDirty, const ParentFraction& parentFraction);
    void updateChildren(float dt, bool force);
    // Sine and cosine of the node's rotation, computed when it changes.
    void turnTo(float angle);
    // Through the batch's own placement path when it has one.
    template <class Batch>
    void drawTree(Batch& batch) const;
    void refreshImageSource();
    void refreshShown() {
        const bool shown = m_enabled && m_state.a > 0.0f;
        if (shown == m_shown) return;
        m_shown = shown;
        forgetShownOrder();
    }
    // A root's draw through its kept quads.
    void drawKept(CommonBatch& batch) const;
    // Gives every node of the root's tree with an image its kept quad, written afresh.
    void keepQuads() const;
    // Of a root: the nodes below it.
    int descendantCount() const;
    // A visit of the node and of every node below it.
    template <class Visit>
    void forEachNodeInDrawOrder(const Visit& visit) const;
    // Rewrites the node's kept quad from its world placement and colour.
    void keepQuad() const;
    void drawImage(SpriteKeptQuads& kept) const;
    void drawImage(CommonBatch& batch) const;
    void drawImage(ITextureBatch& batch) const;
    fpRect localBounds() const;
    void collectAlive(std::vector<Sprite*>& out);
    void playCueLabel(const std::string& label, const CuePlayer& playCue) const;
    template <class Match>
    bool findShape(const Match& match, std::vector<fpVector2>& points, bool searchChildren, bool worldSpace) const;

    // What a step and a draw read come first, so that a node's pass touches few cache
    // lines: the walk, the timeline and the key (the first line with the table pointer);
    // the flags and the image as drawn (the next two); the state, whose life range the
    // walks read. The rest only when the node recomposes or is asked.
    Sprite* m_children = nullptr;
    int m_childCount = 0;
    std::uint32_t m_currentFrame = 0;
    Sprite* m_parent = nullptr;
    // The key list, held by its first key, and the present key: a step reads it without
    // going through the vector or an index.
    const SpriteNodeState* m_keys = nullptr;
    const SpriteNodeState* m_key = nullptr;
    int m_keyCount = 0;
    float m_frameFraction = 0.0f;
    float m_time = 0.0f;
    float m_frameTime = 0.0f;
    std::uint32_t m_lastFrame = 0;
    bool m_enabled = true;
    // Enabled and of some alpha: drawn while alive.
    bool m_shown = true;
    // The world pose is to be recomposed (the node's or a parent's pose changed).
    bool m_dirty = true;
    bool m_interpolate = false;
    bool m_playing = false;
    // At the last update no node below was playing or changed, and none has been changed
    // since: while the node neither plays nor moves, the nodes below would do nothing.
    bool m_stillBelow = false;
    // The root's kept quads are shown in the order it would draw them now.
    mutable bool m_shownOrderFresh = false;
    // The node's frame when its children were last stepped.
    std::uint32_t m_walkedFrame = 0;
    PackedColor m_packedColor;
    Affine2D m_world{1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f};
    // The part of the image drawn and where it sits against the pivot (from the crop).
    fpRect m_source;
    TextureSetReference m_image;
    fpVector2 m_sourceOffset;
    SpriteNodeState m_state;
    // The local pose too (the node's state, key, blend or interpolation changed); a node
    // only moved by its parent composes its kept local pose.
    bool m_poseDirty = true;
    float m_worldColor[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    // The node's kept quad, while its root keeps them.
    mutable Quad* m_keptQuad = nullptr;
    mutable const SpriteKeptQuads* m_kept = nullptr;
    Affine2D m_local{1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f};
    float m_localColor[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    float m_angle = 0.0f;
    float m_cos = 1.0f;
    float m_sin = 0.0f;
    fpRect m_crop{0.0f, 0.0f, 1.0f, 1.0f};
    float m_speed = 1.0f;
    float m_cueMarker = -1.0f;
    float m_depth = 0.0f;
    bool m_finished = false;
    bool m_playOnce = false;
    bool m_cues = false;
    int m_referenceCount = 0;
    Sprite* m_ownedDescendants = nullptr;  // roots only
    mutable std::unique_ptr<SpriteKeptQuads> m_keptQuads;  // roots only, from their first draw
    const SpriteNodeDefinition* m_nodeDefinition = nullptr;
    const SpriteDefinition* m_definition = nullptr;
    ISpriteManager* m_manager = nullptr;
};

} // namespace zor
