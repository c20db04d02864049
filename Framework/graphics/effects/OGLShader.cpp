#include "Framework/graphics/effects/OGLShader.h"

#include "Framework/core/io/Files.h"
#include "Framework/core/log/LogHandler.h"
#include "Framework/core/text/TextUtils.h"
#include "Framework/graphics/render/RenderThread.h"

#include <GL/glew.h>

#include <algorithm>
#include <vector>

namespace zor {

namespace {

const char* const kLogSource = "Shader";

// The driver's compile or link message, without its trailing line ends.
template <class GetInt, class GetLog>
std::string infoLog(GLuint object, GetInt getInt, GetLog getLog) {
    GLint length = 0;
    getInt(object, GL_INFO_LOG_LENGTH, &length);
    if (length <= 1) return "(no message from the driver)";
    std::vector<GLchar> text(static_cast<std::size_t>(length));
    getLog(object, length, nullptr, text.data());
    std::string message(text.data());
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) message.pop_back();
    return message;
}

int find(const std::map<std::string, int>& names, const std::string& name) {
    const auto it = names.find(name);
    return it == names.end() ? -1 : it->second;
}

} // namespace

std::string OGLShader::buildSource(const std::string& defines, const std::string& fileText) {
    return "#version 120 \n#define lowp \n#define mediump \n#define highp \n" + defines + fileText;
}

bool OGLShader::compile(unsigned type, const std::string& file, const std::string& defines, unsigned& shader) {
    const std::string path = joinPath("Shaders", file);
    std::string text;
    if (readText(path, text) == 0) {
        LogHandler::log(LogHandler::Warning, kLogSource, "Could not read shader file '" + path + "'");
        return false;
    }
    const std::string source = buildSource(defines, text);
    const GLchar* sources[] = {source.c_str()};
    shader = glCreateShader(type);
    glShaderSource(shader, 1, sources, nullptr);
    glCompileShader(shader);
    GLint status = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &status);
    if (status == GL_TRUE) return true;
    LogHandler::log(LogHandler::Warning, kLogSource,
                    "Could not compile shader '" + path + "': " + infoLog(shader, glGetShaderiv, glGetShaderInfoLog));
    return false;
}

OGLShader::OGLShader(const std::string& vertexFile, const std::string& fragmentFile, const std::string& defines) {
    ok = true;
    program = glCreateProgram();
    if (!compile(GL_VERTEX_SHADER, vertexFile, defines, vertexShader))
        ok = false;
    else if (!compile(GL_FRAGMENT_SHADER, fragmentFile, defines, fragmentShader))
        ok = false;
    if (vertexShader) glAttachShader(program, vertexShader);
    if (fragmentShader) glAttachShader(program, fragmentShader);
    if (ok) {
        glLinkProgram(program);
        glValidateProgram(program);
        GLint status = 0;
        glGetProgramiv(program, GL_LINK_STATUS, &status);
        if (status == 0) {
            ok = false;
            LogHandler::log(LogHandler::Warning, kLogSource,
                            "Could not link shaders '" + vertexFile + "' and '" + fragmentFile +
                                "': " + infoLog(program, glGetProgramiv, glGetProgramInfoLog));
        } else {
            glDeleteShader(vertexShader);
            glDeleteShader(fragmentShader);
        }
    }
    if (ok) listActiveNames();
}

void OGLShader::listActiveNames() {
    GLint attributeCount = 0, uniformCount = 0, attributeMax = 0, uniformMax = 0;
    glGetProgramiv(program, GL_ACTIVE_ATTRIBUTES, &attributeCount);
    glGetProgramiv(program, GL_ACTIVE_UNIFORMS, &uniformCount);
    glGetProgramiv(program, GL_ACTIVE_ATTRIBUTE_MAX_LENGTH, &attributeMax);
    glGetProgramiv(program, GL_ACTIVE_UNIFORM_MAX_LENGTH, &uniformMax);

    std::vector<GLchar> name(static_cast<std::size_t>(std::max(attributeMax, uniformMax)) + 1);
    for (GLint i = 0; i < attributeCount; ++i) {
        GLint size = 0;
        GLenum type = 0;
        glGetActiveAttrib(program, static_cast<GLuint>(i), static_cast<GLsizei>(name.size()), nullptr, &size,
                          &type, name.data());
        attributes[name.data()] = glGetAttribLocation(program, name.data());
    }
    for (GLint i = 0; i < uniformCount; ++i) {
        GLint size = 0;
        GLenum type = 0;
        glGetActiveUniform(program, static_cast<GLuint>(i), static_cast<GLsizei>(name.size()), nullptr, &size,
                           &type, name.data());
        uniforms[name.data()] = glGetUniformLocation(program, name.data());
    }
}

OGLShader::~OGLShader() {
    // The shader cache lives until the process exits, after the context is gone.
    if (!renderContextAlive()) return;
    if (vertexShader) glDeleteShader(vertexShader);
    if (fragmentShader) glDeleteShader(fragmentShader);
    if (program) glDeleteProgram(program);
}

int OGLShader::attributeLocation(const std::string& name) const { return find(attributes, name); }

int OGLShader::uniformLocation(const std::string& name) const { return find(uniforms, name); }

} // namespace zor
