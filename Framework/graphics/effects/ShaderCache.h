#pragma once
// One OGLShader per (vertex file, fragment file, defines) for the whole run, shared by
// every effect built from them. A failed shader is kept like a good one. Main thread only.

#include <memory>
#include <string>

#include "Framework/graphics/effects/OGLShader.h"

namespace zor {

std::shared_ptr<OGLShader> getShader(const std::string& vertexFile, const std::string& fragmentFile,
                                     const std::string& defines);

} // namespace zor
