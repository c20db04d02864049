#include "Framework/graphics/render/RenderState.h"

#include <GL/glew.h>

namespace zor {

namespace {

struct BlendSetup {
    GLenum source, destination, equation;
};

// Rows 1 to 8 of the blend mode table; row 0 is "blending off".
constexpr BlendSetup kBlendSetups[] = {
    {GL_ONE, GL_ONE_MINUS_SRC_ALPHA, GL_FUNC_ADD},       // 1 premultiplied over
    {GL_ONE, GL_ONE, GL_FUNC_ADD},                       // 2 additive
    {GL_ONE, GL_ONE, GL_FUNC_REVERSE_SUBTRACT},          // 3 subtractive
    {GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_FUNC_ADD}, // 4 straight-alpha over
    {GL_ONE, GL_ONE_MINUS_SRC_ALPHA, GL_FUNC_ADD},       // 5 same as 1
    {GL_DST_COLOR, GL_ZERO, GL_FUNC_ADD},                // 6 multiply
    {GL_DST_COLOR, GL_SRC_COLOR, GL_FUNC_ADD},           // 7 double multiply
    {GL_ONE, GL_ONE, GL_MAX},                            // 8 lighten
};

} // namespace

void setBlendMode(BlendMode mode) {
    if (mode == 0) {
        glDisable(GL_BLEND);
        return;
    }
    if (mode < 1 || mode > 8) return;
    const BlendSetup& setup = kBlendSetups[mode - 1];
    glEnable(GL_BLEND);
    glBlendFunc(setup.source, setup.destination);
    glBlendEquation(setup.equation);
}

bool overwritesWhenOpaque(BlendMode mode) { return mode == 1 || mode == 4 || mode == 5; }

TextureSamplingParameters samplingParameters(const TextureSampling& sampling) {
    static constexpr GLenum kMinFilters[] = {GL_NEAREST,
                                             GL_LINEAR,
                                             GL_NEAREST_MIPMAP_NEAREST,
                                             GL_LINEAR_MIPMAP_NEAREST,
                                             GL_NEAREST_MIPMAP_LINEAR,
                                             GL_LINEAR_MIPMAP_LINEAR};
    TextureSamplingParameters result;
    result.minFilter = sampling.minFilter >= 0 && sampling.minFilter <= 5
                           ? static_cast<int>(kMinFilters[sampling.minFilter])
                           : GL_NEAREST;
    result.magFilter = sampling.magFilter == 1 ? GL_LINEAR : GL_NEAREST;
    result.wrapS = sampling.wrapS == 0 ? GL_CLAMP_TO_EDGE : GL_REPEAT;
    result.wrapT = sampling.wrapT == 0 ? GL_CLAMP_TO_EDGE : GL_REPEAT;
    return result;
}

void applyTextureSampling(const TextureSampling& sampling) {
    const TextureSamplingParameters p = samplingParameters(sampling);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, p.minFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, p.magFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, p.wrapS);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, p.wrapT);
}

void clearToColor(PackedColor color) {
    glClearColor(color.redFloat(), color.greenFloat(), color.blueFloat(), color.alphaFloat());
    glClear(GL_COLOR_BUFFER_BIT);
}

const std::unordered_map<unsigned, const char*>& glErrorNames() {
    static const std::unordered_map<unsigned, const char*> names = {
        {GL_NO_ERROR, "GL_NO_ERROR"},
        {GL_INVALID_ENUM, "GL_INVALID_ENUM"},
        {GL_INVALID_VALUE, "GL_INVALID_VALUE"},
        {GL_INVALID_OPERATION, "GL_INVALID_OPERATION"},
        {GL_OUT_OF_MEMORY, "GL_OUT_OF_MEMORY"},
    };
    return names;
}

} // namespace zor
