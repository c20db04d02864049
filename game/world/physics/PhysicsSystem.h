#pragma once
// The physics of one level: its broadphase, the stepping of one object at a time, the
// sweeps that move objects against the bodies around them, the queries of what lies in a
// region, sleeping and waking, and the debug counters.
//
// The gameplay builds one per level (on the worker, within the level build), places the
// level's tile-map body (group "tiles", TileMapShape over the level's PersistentTileMap)
// and bounds body (group "bounds", BoundsShape over (0, 0, width, height + 500)), binds
// its contact handler to `contactCallback`, places every physical entity and decides which
// objects to step each frame. The pair tests must be installed (installShapePairTests).
//
// Main thread only once the level runs. The only re-entrancy is the contact callback: it
// may sweep, move and query (those use a second set of lists and call no callback), but
// must not destroy physical objects: the sweep still holds their bodies (the World defers
// deletions for that reason).
// Nothing allocates while stepping, sweeping or querying once the reusable lists have
// grown, except growth of a caller's output vector.

#include "game/world/physics/CellSystem.h"
#include "game/world/physics/PhysicalCollision.h"
#include "game/world/physics/PhysicalObject.h"
#include "game/world/physics/Shapes.h"

#include "Framework/core/debug/DebugFlags.h"
#include "Framework/core/math/Rect.h"
#include "Framework/core/math/Vector.h"

#include <boost/intrusive_ptr.hpp>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace zor {

// The pair tests and hits of sweeps, which their callers count apart from the queries'.
struct SweepCounters {
    std::int32_t tests = 0;
    std::int32_t hits = 0;
};

class PhysicsSystem {
public:
    using ContactCallback = std::function<void(PhysicalCollision& contact)>;

    // The broadphase over the level rectangle with 256 x 256-pixel cells.
    explicit PhysicsSystem(const fpRect& levelRect);
    PhysicsSystem(const PhysicsSystem&) = delete;
    PhysicsSystem& operator=(const PhysicsSystem&) = delete;

    // Called with every contact of a sweep that allows callbacks, outside nested calls;
    // empty: contacts are only resolved.
    ContactCallback contactCallback;

    // --- Objects ---

    // Enters the object in this level's broadphase at its current position. A body whose
    // group has no bit below 19 cannot be listed: it is refused (never found by others) and
    // reported as a warning.
    void placeObject(PhysicalObject& object);
    // Takes the object's bodies out of the broadphase; the object keeps its state.
    void removeObject(PhysicalObject& object);

    // One time step of an awake object (nothing for dt <= 0; an object asleep is counted
    // in sleepingCount and left alone): impulse, integration (Euler, or Runge-Kutta with air
    // resistance), with `collide` up to three sweeps that slide, rub and bounce off what
    // they meet, waking the object's wakeMask groups around it when it starts to move, and
    // falling asleep (canSleep) after more than 1 s within 0.1 px of its rest position.
    void stepObject(PhysicalObject& object, float dt, bool collide);
    // Moves the object's bodies from its position towards `target` against the bodies of
    // their masks, skipping its own, the ignored object's and non-collidable ones. True when
    // the move is complete (outPosition = target, or the unmoved position when a callback
    // held it); false when it was stopped: outPosition and outNormal tell where and against
    // what. `respond` turns false when a callback asked to keep the velocity. Contacts are
    // taken nearest first (discovery order on ties); sensors get one callback per pass and
    // stop nothing; at most two passes when callbacks ask for another. The object is not
    // moved.
    bool sweep(PhysicalObject& object, const fpVector2& target, fpVector2& outPosition, fpVector2& outNormal,
               const PhysicalObject* ignored, bool suppressCallbacks, bool& respond, SweepCounters& counters);
    // Sweeps towards the target and, when the sweep completes or `force` is set, places the
    // object where the sweep ended; true then. The velocity is not touched.
    bool moveObjectTo(PhysicalObject& object, const fpVector2& target, bool force, const PhysicalObject* ignored,
                      bool suppressCallbacks);

    // --- Queries (the masked groups only; mask 0 finds nothing) ---

    // Appends the owner of every body whose bounds overlap the rectangle, unless the output
    // already holds it; no shape test, non-collidable owners included. True when it
    // appended any.
    bool queryBodies(const fpRect& rect, std::uint32_t mask, std::vector<PhysicalObject*>& out);
    // True at the first collidable body whose shape touches the given one (a RectShape or
    // an OBBShape).
    bool testShape(const AbstractShape& shape, std::uint32_t mask);
    bool testRect(const fpRect& rect, std::uint32_t mask);
    // Wakes every object with a body overlapping the rectangle (awake, woken, sleep timer
    // 0), non-collidable ones included.
    void wakeRect(const fpRect& rect, std::uint32_t mask);
    // Of the collidable objects whose shapes touch the rectangle, the one whose position is
    // nearest its centre (the first found on a tie); null for none.
    PhysicalObject* findNearestOverlap(const fpRect& rect, std::uint32_t mask);
    // Appends the owner of every collidable body whose shape touches the given one, once
    // per body (an object with two touching bodies twice). True when it appended any.
    bool queryShape(const AbstractShape& shape, std::uint32_t mask, std::vector<PhysicalObject*>& out);
    bool queryRect(const fpRect& rect, std::uint32_t mask, std::vector<PhysicalObject*>& out);
    // Casts a ray from the origin along the unit direction against the bounds of the
    // collidable bodies (no shape tests), skipping the ignored object. outDistance becomes
    // the distance to the nearest entry, or maxDistance when nothing is nearer; true when
    // something is. A ray starting inside bounds enters them at 0; a zero direction
    // component never enters along that axis. The tile map's bounds are the whole level, so
    // a mask with "tiles" always meets it at 0: march the grid for tiles instead.
    bool testSegment(const fpVector2& origin, const fpVector2& direction, float maxDistance, std::uint32_t mask,
                     const PhysicalObject* ignored, float& outDistance);

    // --- Debug ---

    // The broadphase picture (switch "cells") and, under the switch "physics" (category
    // "game debug"), the lines "Awake: ", "Sleeping: " and "Tests: " with the counters on
    // screen; then, switch or not, the counters restart from 0. So they show the steps and
    // query pair tests since the previous debug draw.
    void debugDraw(const fpRect& view);
    // Also the broadphase's; null draws nothing.
    void setDebugCanvas(const std::shared_ptr<PhysicsDebugCanvas>& canvas);

    std::int32_t awakeCount() const { return m_awakeCount; }
    std::int32_t sleepingCount() const { return m_sleepingCount; }
    std::int32_t testCount() const { return m_testCount; }

    const std::shared_ptr<CellSystem>& cellSystem() const { return m_cellSystem; }

private:
    // A sweep's move, fixed when it starts.
    struct SweepPath {
        SweepPath(const PhysicalObject& object, const fpVector2& target);
        fpVector2 start;
        fpVector2 target;
        fpVector2 move;
        fpVector2 direction;  // unit, or zero for no move
        // The object's bounds united with those bounds moved by `move`.
        fpRect sweepBounds;
    };

    void resolveMove(PhysicalObject& object, const fpVector2& old, fpVector2& reached);
    // Fills the contact list of the current depth, calling the callback for sensors.
    void collectContacts(PhysicalObject& object, const SweepPath& path, const PhysicalObject* ignored,
                         bool callbacks, SweepCounters& counters);
    void callContactCallback(PhysicalCollision& contact);
    // The scratch list of the current callback depth, filled from the broadphase.
    std::vector<CellObject*>& findBodies(const fpRect& rect, std::uint32_t mask);
    // Counts the test; false for a non-collidable owner.
    bool testBody(const AbstractShape& shape, const PhysicalBody& body);
    RectShape& probeAt(const fpRect& rect);

    std::shared_ptr<CellSystem> m_cellSystem;
    boost::intrusive_ptr<RectShape> m_probe;
    std::shared_ptr<PhysicsDebugCanvas> m_canvas;
    DebugFlag& m_physicsSwitch;
    // 1 while the contact callback runs; indexes the lists below.
    std::int32_t m_callbackDepth = 0;
    std::array<std::vector<PhysicalCollision>, 2> m_contactLists;
    std::array<std::vector<CellObject*>, 2> m_scratchLists;
    std::int32_t m_sleepingCount = 0;
    std::int32_t m_awakeCount = 0;
    std::int32_t m_testCount = 0;
};

} // namespace zor
