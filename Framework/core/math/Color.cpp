#include "Framework/core/math/Color.h"

#include <istream>

#include "Framework/core/math/TextForm.h"

namespace zor {

const PackedColor& colorWhite() {
    static const PackedColor white(0xFFFFFFFFu);
    return white;
}

bool colorEquals(const FloatColor& a, const FloatColor& b) {
    return a.red == b.red && a.green == b.green && a.blue == b.blue && a.alpha == b.alpha;
}

const FloatColor& colorBlackFloat() {
    static const FloatColor black{0.0f, 0.0f, 0.0f, 1.0f};
    return black;
}

const FloatColor& colorWhiteFloat() {
    static const FloatColor white{1.0f, 1.0f, 1.0f, 1.0f};
    return white;
}

const FloatColor& colorRedFloat() {
    static const FloatColor red{1.0f, 0.0f, 0.0f, 1.0f};
    return red;
}

std::istream& operator>>(std::istream& in, Color3& c) {
    in >> c.r;
    skipSeparator(in);
    in >> c.g;
    skipSeparator(in);
    return in >> c.b;
}

} // namespace zor
