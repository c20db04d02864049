#pragma once
// An effect over a cached GLSL program with a projection and a model-view matrix, a
// position attribute and an optional colour attribute.

#include <memory>

#include "Framework/graphics/effects/IColorEffect.h"
#include "Framework/graphics/effects/OGLShader.h"

namespace zor {

// The model-view as the shaders receive it: the upper-left 3x3 block transposed,
// translation and the fourth row unchanged. The shaders multiply from the left to undo it.
fpMatrix4 shaderModelView(const fpMatrix4& modelView);

class OGLColorEffect : public virtual IColorEffect {
public:
    void apply() override;
    void setProjection(const fpMatrix4& matrix) override { projection = matrix; }
    void setModelView(const fpMatrix4& matrix) override { modelView = matrix; }

    virtual int positionLocation() const { return m_position; }
    virtual int colorLocation() const { return m_color; }

    // True when the shader compiled and linked; apply does nothing otherwise.
    bool usable() const { return shader && shader->ok; }

    fpMatrix4 projection;
    fpMatrix4 modelView;
    // Copied from the drawing batch's transform block; the effect does not read it.
    bool transformChanged = false;
    std::shared_ptr<OGLShader> shader;

protected:
    OGLColorEffect() = default;
    // Stores the shader and looks up the locations; all stay -1 for a failed shader.
    void setShader(std::shared_ptr<OGLShader> newShader);
    int uniform(const char* name) const { return usable() ? shader->uniformLocation(name) : -1; }
    int attribute(const char* name) const { return usable() ? shader->attributeLocation(name) : -1; }

private:
    int m_projectionMatrix = -1;
    int m_modelViewMatrix = -1;
    int m_position = -1;
    int m_color = -1;
};

} // namespace zor
