#pragma once
// Layout type "label", named label_<name>__<font>__<anchor>__<line id> (each parameter
// optional from the right): a text wrapped into the item's hit area and drawn over the
// whole sprite tree (draw hook order 1000), coloured and faded with its node.

#include <string>

#include "Framework/core/math/Anchor.h"
#include "Framework/core/math/Matrix4.h"
#include "Framework/graphics/text/TextMesh.h"
#include "Framework/menu/AbstractMenuItem.h"
#include "Framework/menu/RefreshableText.h"

namespace zor {

class Font;

class LabelMenuItem : public AbstractMenuItem, public RefreshableText {
public:
    static constexpr int DrawOrder = 1000;

    LabelMenuItem(MenuItemContext* context, const std::string& name, const NameParameters* nameParameters,
                  AbstractMenuItem* parent);

    void update(const UpdateRecord& record) override;

    // Lays the text out in the hit area; `overflow`, when given, receives what did not fit.
    // Without a font or a hit area the label keeps no text.
    void setText(const std::string& text, std::string* overflow = nullptr);
    // setText unless the label already shows exactly this text.
    void setTextIfChanged(const std::string& text);
    void setTextAnchor(CompassAnchor anchor);
    // Reads the line id's text again (after a language change).
    void refreshText() override;
    fpRect getTextBounds() const;

    const TextMeshPtr& textMesh() const { return m_textMesh; }
    const Font* font() const { return m_font; }
    const fpMatrix4& transform() const { return m_transform; }
    const std::string& lineId() const { return m_lineId; }

    // The text grows and shrinks about its own centre.
    float textScale = 1.0f;

private:
    void readFont(const std::string& fontName);
    void drawText();

    const Font* m_font = nullptr;
    TextMeshPtr m_textMesh;
    CompassAnchor m_textAnchor = CompassAnchor::Centre;
    std::int32_t m_alignMode = AlignEachLine;
    fpMatrix4 m_transform = fpMatrix4::identity();
    fpRect m_lastRect;
    float m_lastScale = 1.0f;
    bool m_dirty = false;
    std::string m_lineId;
};

} // namespace zor
