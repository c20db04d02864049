#pragma once
// One linked GLSL program built from a vertex and a fragment file of the game data's
// "Shaders" folder, with the names and locations of its active attributes and uniforms.
// Main thread only.

#include <map>
#include <string>

namespace zor {

class OGLShader {
public:
    // Compiles both files with the defines text put in front of them, links and lists the
    // program's names. Failures leave ok false and are logged as warnings with the driver's
    // message: the game goes on without what the shader draws.
    OGLShader(const std::string& vertexFile, const std::string& fragmentFile, const std::string& defines);
    virtual ~OGLShader();
    OGLShader(const OGLShader&) = delete;
    OGLShader& operator=(const OGLShader&) = delete;

    // The text handed to the compiler: the GLSL 1.20 prelude, the defines, the file text.
    static std::string buildSource(const std::string& defines, const std::string& fileText);

    // The location of an active name, or -1.
    int attributeLocation(const std::string& name) const;
    int uniformLocation(const std::string& name) const;

    std::map<std::string, int> attributes;
    std::map<std::string, int> uniforms;
    unsigned program = 0;
    unsigned vertexShader = 0;
    unsigned fragmentShader = 0;
    bool ok = false;

private:
    // Returns false when the file is missing or empty or the compiler rejects it; the
    // shader object, once made, is stored in `shader` either way.
    static bool compile(unsigned type, const std::string& file, const std::string& defines, unsigned& shader);
    void listActiveNames();
};

} // namespace zor
