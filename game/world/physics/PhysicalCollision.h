#pragma once
// One contact found by a sweep, handed to the contact callback. The callback answers
// through the four flags; the sweep reads them right after the call.

#include "Framework/core/math/Vector.h"

namespace zor {

class PhysicalBody;

struct PhysicalCollision {
    // The moving object's body and the body it touched.
    const PhysicalBody* body = nullptr;
    const PhysicalBody* otherBody = nullptr;
    // Where the moving object was asked to go.
    fpVector2 target;
    // Where it would stand at the contact: start + unit move x distance + normal x 0.001.
    fpVector2 position;
    // Out of the touched body towards the mover; zero when the test gives none.
    fpVector2 normal;
    // Travel before the contact; 0 for a contact at the start.
    float distance = 0.0f;
    // Penetration of the end position, where the test computes it.
    float depth = 0.0f;
    // Set by the sweep: either body is a sensor, so the contact blocks nothing.
    bool sensor = false;

    // Set by the callback: the object does not stop at this contact.
    bool passThrough = false;
    // Set by the callback: the move ends at once with the object where it is, reported as
    // complete.
    bool holdPosition = false;
    // Set by the callback, which changed the world: this contact is ignored and the sweep
    // runs once more (twice in all at most).
    bool sweepAgain = false;
    // Set by the callback: the step's contact response leaves velocity and impulse alone.
    bool keepVelocity = false;
};

} // namespace zor
