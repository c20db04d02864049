#include "Framework/core/math/Rect.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <istream>
#include <ostream>

#include "Framework/core/math/Anchor.h"
#include "Framework/core/math/TextForm.h"

namespace zor {

fpRect fpRect::fromPoints(const fpVector2& a, const fpVector2& b) {
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::fabs(a.x - b.x), std::fabs(a.y - b.y)};
}

fpRect fpRect::united(const fpRect& a, const fpRect& b) {
    fpRect result = a;
    result.unite(b);
    return result;
}

bool fpRect::contains(const fpVector2& p) const { return x <= p.x && p.x < x + w && y <= p.y && p.y < y + h; }

void fpRect::unite(const fpRect& other) {
    const float left = std::min(x, other.x);
    const float top = std::min(y, other.y);
    const float r = std::max(right(), other.right());
    const float b = std::max(bottom(), other.bottom());
    *this = {left, top, r - left, b - top};
}

bool fpRect::intersect(const fpRect& other) {
    const float left = std::max(x, other.x);
    const float top = std::max(y, other.y);
    const float r = std::min(right(), other.right());
    const float b = std::min(bottom(), other.bottom());
    if (r > left && b > top) {
        *this = {left, top, r - left, b - top};
        return true;
    }
    *this = {};
    return false;
}

void fpRect::expandToAspect(float aspect) {
    if (w == 0.0f || h == 0.0f)
        return;
    fpVector2 grown(w, h);
    if (w / h < aspect)
        grown.x = aspect * h;
    else
        grown.y = w / aspect;
    const fpVector2 corner = anchorPosition(*this, grown, CompassAnchor::Centre);
    *this = {corner.x, corner.y, grown.x, grown.y};
}

iRect iRect::fromPoints(const iVector2& a, const iVector2& b) {
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::abs(a.x - b.x), std::abs(a.y - b.y)};
}

std::ostream& operator<<(std::ostream& out, const fpRect& r) {
    return out << r.x << ';' << r.y << ';' << r.w << ';' << r.h;
}

std::istream& operator>>(std::istream& in, fpRect& r) {
    in >> r.x;
    skipSeparator(in);
    in >> r.y;
    skipSeparator(in);
    in >> r.w;
    skipSeparator(in);
    return in >> r.h;
}

} // namespace zor
