#pragma once
// Moving a rectangle against a fixed one.

#include "Framework/core/math/Rect.h"
#include "Framework/core/math/Vector.h"

namespace zor {

// On the unit axis (1, 0) or (0, 1): a positive overlap when the two already
// overlap on that axis; else, for a move of moving's top-left corner to target,
// the negated fraction in (-1, 0] of the move at which they start to touch on
// that axis, or -1 when they never do.
float sweepAxis(const fpRect& fixed, const fpVector2& axis, const fpRect& moving, const fpVector2& target);
// Moves the rectangle toward target (its new top-left corner). Returns true
// when the move is free (the rectangle is then at target); false when already
// overlapping (nothing changes) or blocked: the rectangle then stops at the
// contact and normalOut receives the contact normal.
bool sweepRect(const fpVector2& target, fpRect& moving, const fpRect& fixed, fpVector2& normalOut);

} // namespace zor
