#include "Framework/core/math/Color.h"

#include <istream>

#include "Framework/core/math/TextForm.h"

namespace zor {

const PackedColor& colorWhite() {
    static const PackedColor white(0xFFFFFFFFu);
    return white;
}

std::istream& operator>>(std::istream& in, Color3& c) {
    in >> c.r;
    skipSeparator(in);
    in >> c.g;
    skipSeparator(in);
    return in >> c.b;
}

} // namespace zor
