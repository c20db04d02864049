#include "Framework/graphics/render/RenderState.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

namespace zor {
namespace {

TEST(TextureSampling, CodesMapToGLParametersWithNearestAndClampAsFallbacks) {
    const struct {
        TextureSampling sampling;
        TextureSamplingParameters expected;
        bool mipmaps;
    } cases[] = {
        {{0, 0, 0, 0}, {GL_NEAREST, GL_NEAREST, GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE}, false},
        {{1, 1, 0, 0}, {GL_LINEAR, GL_LINEAR, GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE}, false},
        {{2, 1, 1, 1}, {GL_NEAREST_MIPMAP_NEAREST, GL_LINEAR, GL_REPEAT, GL_REPEAT}, true},
        {{3, 0, 0, 0}, {GL_LINEAR_MIPMAP_NEAREST, GL_NEAREST, GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE}, true},
        {{4, 0, 0, 0}, {GL_NEAREST_MIPMAP_LINEAR, GL_NEAREST, GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE}, true},
        {{5, 1, -3, 0}, {GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR, GL_REPEAT, GL_CLAMP_TO_EDGE}, true},
        {{7, 2, 2, 0}, {GL_NEAREST, GL_NEAREST, GL_REPEAT, GL_CLAMP_TO_EDGE}, false},
        {{-1, -1, 0, 9}, {GL_NEAREST, GL_NEAREST, GL_CLAMP_TO_EDGE, GL_REPEAT}, false},
    };
    for (const auto& c : cases) {
        const TextureSampling& s = c.sampling;
        SCOPED_TRACE(testing::Message() << "{" << s.minFilter << ", " << s.magFilter << ", " << s.wrapS << ", "
                                        << s.wrapT << "}");
        const TextureSamplingParameters p = samplingParameters(s);
        EXPECT_EQ(p.minFilter, c.expected.minFilter);
        EXPECT_EQ(p.magFilter, c.expected.magFilter);
        EXPECT_EQ(p.wrapS, c.expected.wrapS);
        EXPECT_EQ(p.wrapT, c.expected.wrapT);
        EXPECT_EQ(s.wantsMipmaps(), c.mipmaps);
    }
}

TEST(GLErrorNames, NameTheErrorsOpenGLReports) {
    const auto& names = glErrorNames();
    EXPECT_EQ(names.size(), 5u);
    EXPECT_STREQ(names.at(0), "GL_NO_ERROR");
    EXPECT_STREQ(names.at(0x0500), "GL_INVALID_ENUM");
    EXPECT_STREQ(names.at(0x0501), "GL_INVALID_VALUE");
    EXPECT_STREQ(names.at(0x0502), "GL_INVALID_OPERATION");
    EXPECT_STREQ(names.at(0x0505), "GL_OUT_OF_MEMORY");
}

} // namespace
} // namespace zor
