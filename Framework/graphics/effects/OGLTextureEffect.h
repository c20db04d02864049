#pragma once
// A colour effect that also samples a texture on unit 0 through "u_texture" with
// coordinates from "a_texCoord".

#include "Framework/graphics/effects/ITextureEffect.h"
#include "Framework/graphics/effects/OGLColorEffect.h"

namespace zor {

class OGLTextureEffect : public OGLColorEffect, public ITextureEffect {
public:
    void apply() override;
    void bindTexture(const Texture& texture) override;
    virtual int texCoordLocation() const { return m_texCoord; }

protected:
    OGLTextureEffect() = default;
    void setShader(std::shared_ptr<OGLShader> newShader);

private:
    int m_texture = -1;
    int m_texCoord = -1;
};

} // namespace zor
