#include "Framework/core/io/Files.h"
#include "Framework/core/log/LogHandler.h"
#include "Framework/graphics/batch/QuadBatch.h"
#include "Framework/graphics/batch/Transform2D.h"
#include "Framework/graphics/effects/ColorEffect.h"
#include "Framework/graphics/effects/ColorTextureBloomBlend.h"
#include "Framework/graphics/effects/ColorTextureBlurEffect.h"
#include "Framework/graphics/effects/ColorTextureEffect.h"
#include "Framework/graphics/effects/ColorTextureFakeNearest.h"
#include "Framework/graphics/effects/ColorTextureGamma.h"
#include "Framework/graphics/effects/ColorTextureRescaleColor.h"
#include "Framework/graphics/effects/ShaderCache.h"
#include "Framework/graphics/render/RenderTarget.h"
#include "Framework/graphics/texture/Texture.h"
#include "tests/support/common/TempFolder.h"
#include "tests/support/gl/GLTestContext.h"
#include "tests/support/common/LogCapture.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace zor {
namespace {

using test::Pixel;

using test::LogCapture;

// Shader files of the test's own, found through a game data root of their own.
class ShaderFiles {
public:
    explicit ShaderFiles(const std::vector<std::pair<std::string, std::string>>& files) {
        for (const auto& [name, text] : files) m_folder.write("Shaders/" + name, text);
        initFileSystem(m_folder.path().string());
    }
    ~ShaderFiles() { initFileSystem("BundlePC"); }

private:
    test::TempFolder m_folder;
};

// An effect over any shader pair, as the concrete effects are built.
class CustomColorEffect : public OGLColorEffect {
public:
    CustomColorEffect(const std::string& vertex, const std::string& fragment) {
        setShader(getShader(vertex, fragment, ""));
    }
};

std::array<float, 4> uniform4(const OGLShader& shader, const char* name) {
    std::array<float, 4> value{};
    glGetUniformfv(shader.program, shader.uniformLocation(name), value.data());
    return value;
}

bool vertexArrayEnabled(int location) {
    GLint enabled = 0;
    glGetVertexAttribiv(static_cast<GLuint>(location), GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
    return enabled != 0;
}

class EffectsTest : public test::GLTest {};

TEST_F(EffectsTest, EveryEffectCompilesAndFindsItsNames) {
    ColorEffect color;
    ColorTextureEffect texture;
    ColorTextureBlurEffect blur;
    ColorTextureBloomBlend bloom;
    ColorTextureFakeNearest nearest;
    ColorTextureGamma gamma;
    ColorTextureRescaleColor rescale;
    const OGLColorEffect* all[] = {&color, &texture, &blur, &bloom, &nearest, &gamma, &rescale};
    for (const OGLColorEffect* effect : all) {
        ASSERT_TRUE(effect->usable());
        EXPECT_NE(effect->positionLocation(), -1);
        EXPECT_NE(effect->colorLocation(), -1);
        EXPECT_NE(effect->shader->uniformLocation("u_PMatrix"), -1);
        EXPECT_NE(effect->shader->uniformLocation("u_MVMatrix"), -1);
    }
    for (const OGLTextureEffect* effect : {static_cast<OGLTextureEffect*>(&texture), static_cast<OGLTextureEffect*>(&blur),
                                           static_cast<OGLTextureEffect*>(&bloom), static_cast<OGLTextureEffect*>(&nearest),
                                           static_cast<OGLTextureEffect*>(&gamma), static_cast<OGLTextureEffect*>(&rescale)}) {
        EXPECT_NE(effect->texCoordLocation(), -1);
        EXPECT_NE(effect->shader->uniformLocation("u_texture"), -1);
    }
    for (const char* name : {"u_blurUVDir", "u_uvClamp"}) EXPECT_NE(blur.shader->uniformLocation(name), -1) << name;
    for (const char* name : {"u_textureTarget", "u_uvTargetTransform", "u_sourceOverBurn", "u_targetConstantFactor",
                             "u_targetInverseSourceFactor", "u_power"})
        EXPECT_NE(bloom.shader->uniformLocation(name), -1) << name;
    EXPECT_NE(nearest.shader->uniformLocation("u_filterInfo"), -1);
    EXPECT_NE(gamma.shader->uniformLocation("u_power"), -1);
    EXPECT_NE(rescale.shader->uniformLocation("u_colorTransform"), -1);
}

TEST_F(EffectsTest, EffectsOfOneShaderPairShareOneProgram) {
    ColorTextureEffect first, second;
    EXPECT_EQ(first.shader, second.shader);
    ColorTextureGamma gamma;
    EXPECT_NE(gamma.shader, first.shader);
}

TEST_F(EffectsTest, TheBlurIsCompiledWithTwoTapsWhileItsFieldSaysFive) {
    ColorTextureBlurEffect blur;
    EXPECT_EQ(blur.sampleCount, 5);
    EXPECT_TRUE(blur.clampUV);
    EXPECT_EQ(blur.shader, getShader("BasicEffect_ColorTexture.vert", "ColorTextureBlur.frag",
                                     "#define NUM_SAMPLES 2\n#define CLAMP_UV\n"));
    EXPECT_EQ(OGLShader::buildSource(ColorTextureBlurEffect::kDefines, "body"),
              "#version 120 \n#define lowp \n#define mediump \n#define highp \n"
              "#define NUM_SAMPLES 2\n#define CLAMP_UV\nbody");
}

TEST_F(EffectsTest, FailedShadersAreLoggedWithTheDriversMessageAndDoNothing) {
    ShaderFiles files({{"Good.vert", "attribute vec2 a_position; void main() { gl_Position = vec4(a_position, 0.0, 1.0); }"},
                       {"Good.frag", "void main() { gl_FragColor = vec4(1.0); }"},
                       {"Typo.frag", "void main() { gl_FragColor = vec4(1.0) +; }"},
                       {"Unlinked.frag", "void helper(); void main() { helper(); gl_FragColor = vec4(1.0); }"}});
    const struct {
        const char* vertex;
        const char* fragment;
        const char* logged;
        bool fragmentMade;
        bool driverMessage;
    } cases[] = {
        {"Missing.vert", "Good.frag", "Could not read shader file 'Shaders/Missing.vert'", false, false},
        {"Good.vert", "Typo.frag", "Could not compile shader 'Shaders/Typo.frag': ", true, true},
        {"Good.vert", "Unlinked.frag", "Could not link shaders 'Good.vert' and 'Unlinked.frag': ", true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fragment);
        LogCapture log;
        CustomColorEffect effect(c.vertex, c.fragment);
        EXPECT_FALSE(effect.shader->ok);
        EXPECT_EQ(effect.shader->fragmentShader != 0, c.fragmentMade);
        EXPECT_EQ(effect.positionLocation(), -1);
        EXPECT_EQ(effect.colorLocation(), -1);
        // A warning: the game survives it, so start-up must not end in the error state.
        EXPECT_TRUE(log.errors.empty());
        ASSERT_EQ(log.warnings.size(), 1u);
        EXPECT_EQ(log.warnings[0].rfind(c.logged, 0), 0u) << log.warnings[0];
        // The driver's own words follow the prefix.
        if (c.driverMessage) {
            EXPECT_GT(log.warnings[0].size(), std::string(c.logged).size() + 1) << log.warnings[0];
        }

        glUseProgram(0);
        effect.apply();
        GLint current = -1;
        glGetIntegerv(GL_CURRENT_PROGRAM, &current);
        EXPECT_EQ(current, 0);
    }
    glGetError();  // compiling and linking broken programs may leave errors behind
}

TEST_F(EffectsTest, AProgramWithoutColourEnablesOnlyThePositionArray) {
    ShaderFiles files({{"Plain.vert",
                        "uniform mat4 u_PMatrix; uniform mat4 u_MVMatrix; attribute vec3 a_position;"
                        "void main() { gl_Position = u_PMatrix * u_MVMatrix * vec4(a_position, 1.0); }"},
                       {"Plain.frag", "void main() { gl_FragColor = vec4(1.0); }"}});
    CustomColorEffect effect("Plain.vert", "Plain.frag");
    ASSERT_TRUE(effect.usable());
    EXPECT_EQ(effect.colorLocation(), -1);
    ASSERT_NE(effect.positionLocation(), -1);
    for (GLuint i = 0; i < 4; ++i) glDisableVertexAttribArray(i);
    effect.apply();
    for (GLuint i = 0; i < 4; ++i)
        EXPECT_EQ(vertexArrayEnabled(static_cast<int>(i)), static_cast<int>(i) == effect.positionLocation()) << i;
    glDisableVertexAttribArray(static_cast<GLuint>(effect.positionLocation()));
}

TEST_F(EffectsTest, TheModelViewReachesTheProgramWithItsRotationInverted) {
    ColorTextureEffect effect;
    const fpMatrix4 turned = makeTransform2D(7, 8, 0, 1, 1, 1, 0.5235988f);
    effect.setModelView(turned);
    effect.setProjection(fpMatrix4::scaling(2, 3, 1));
    effect.apply();
    float sent[16];
    glGetUniformfv(effect.shader->program, effect.shader->uniformLocation("u_MVMatrix"), sent);
    const fpMatrix4 inverse = makeTransform2D(7, 8, 0, 1, 1, 1, -0.5235988f);
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(sent[i], inverse[i], 1e-6f) << i;
    glGetUniformfv(effect.shader->program, effect.shader->uniformLocation("u_PMatrix"), sent);
    EXPECT_EQ(sent[0], 2.0f);
    EXPECT_EQ(sent[5], 3.0f);
}

TEST_F(EffectsTest, ParametersReachTheirUniforms) {
    ColorTextureFakeNearest nearest;
    nearest.filterInfo[0] = 1;
    nearest.filterInfo[1] = 2;
    nearest.filterInfo[2] = 3;
    nearest.filterInfo[3] = 4;
    nearest.apply();
    EXPECT_EQ(uniform4(*nearest.shader, "u_filterInfo"), (std::array<float, 4>{3, 4, 1, 2}));

    ColorTextureRescaleColor rescale;
    rescale.apply();
    EXPECT_EQ(uniform4(*rescale.shader, "u_colorTransform"), (std::array<float, 4>{0, 4, 0.5f, 1}));

    ColorTextureBlurEffect blur;
    blur.blurDirection[0] = 0.25f;
    blur.clampRect[2] = 0.5f;
    blur.apply();
    EXPECT_EQ(uniform4(*blur.shader, "u_blurUVDir")[0], 0.25f);
    EXPECT_EQ(uniform4(*blur.shader, "u_uvClamp"), (std::array<float, 4>{0, 0, 0.5f, 0}));

    ColorTextureBloomBlend bloom;
    bloom.power = 2;
    bloom.apply();
    GLint unit = -1;
    glGetUniformiv(bloom.shader->program, bloom.shader->uniformLocation("u_textureTarget"), &unit);
    EXPECT_EQ(unit, 1);
    EXPECT_EQ(uniform4(*bloom.shader, "u_power")[0], 2.0f);
    GLint active = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    EXPECT_EQ(active, GL_TEXTURE0);
    glUseProgram(0);
}

} // namespace
} // namespace zor
