#include "Framework/core/math/TextForm.h"

#include <istream>

namespace zor {

void skipSeparator(std::istream& in) {
    char separator;
    in.get(separator);
}

} // namespace zor
