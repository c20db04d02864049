#pragma once
// A batch known only by the drawing interface: callers cannot take the batch's own
// placement path and queue through drawMatrix, which goes on to a CommonBatch. Drawing
// through it and straight into a CommonBatch must give the same quads.

#include "Framework/graphics/batch/CommonBatch.h"

namespace zor::test {

class InterfaceOnlyBatch : public ITextureBatch {
public:
    explicit InterfaceOnlyBatch(CommonBatch& to) : m_to(to) {}
    void drawMatrix(const Texture& t, const fpMatrix4& m, const fpRect& s, const PackedColor& c, const std::uint32_t& r,
                    const fpVector2& p, unsigned f) override {
        m_to.drawMatrix(t, m, s, c, r, p, f);
    }
    void drawRegion(const Texture&, const fpVector2&, const fpRect&, const PackedColor&, const std::uint32_t&, float,
                    const fpVector2&, const fpVector2&, unsigned, float) override {}
    void drawTexture(const Texture&, const fpVector2&, const PackedColor&, const std::uint32_t&, float,
                     const fpVector2&, const fpVector2&, unsigned, float) override {}
    void drawAt(const Texture&, const fpVector2&, const PackedColor&) override {}
    void drawRotated(const Texture&, const fpVector2&, float) override {}
    void drawWhite(const Texture&, const fpVector2&) override {}

private:
    CommonBatch& m_to;
};

} // namespace zor::test
