#include "Framework/graphics/primitive/PrimitiveBatch3d.h"

#include <GL/glew.h>

namespace zor {

void PrimitiveBatch3d::flush() {
    glUseProgram(0);
    transformChanged = false;
}

} // namespace zor
