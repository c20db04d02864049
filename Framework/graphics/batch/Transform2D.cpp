#include "Framework/graphics/batch/Transform2D.h"

#include <cmath>

namespace zor {

fpMatrix4 makeTransform2D(float tx, float ty, float tz, float sx, float sy, float sz, float angle) {
    float c = 1.0f;
    float s = 0.0f;
    if (angle != 0.0f) {
        c = std::cos(angle);
        s = std::sin(angle);
    }
    fpMatrix4 m;
    m[0] = c * sx;
    m[1] = s * sx;
    m[2] = 0.0f;
    m[3] = 0.0f;
    m[4] = -s * sy;
    m[5] = c * sy;
    m[6] = 0.0f;
    m[7] = 0.0f;
    m[8] = 0.0f;
    m[9] = 0.0f;
    m[10] = sz;
    m[11] = 0.0f;
    m[12] = tx;
    m[13] = ty;
    m[14] = tz;
    m[15] = 1.0f;
    return m;
}

} // namespace zor
