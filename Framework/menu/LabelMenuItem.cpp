#include "Framework/menu/LabelMenuItem.h"

#include "Framework/core/localization/LocalizationHandler.h"
#include "Framework/core/log/LogHandler.h"
#include "Framework/graphics/font/Font.h"
#include "Framework/graphics/font/FontSet.h"
#include "Framework/graphics/sprite/NamedShared.h"
#include "Framework/graphics/sprite/Sprite.h"
#include "Framework/system/SystemComponents.h"

namespace zor {
namespace {

bool textParameter(const NameParameters& parameters, std::size_t index, std::string& out) {
    if (index >= parameters.size()) return false;
    const SettingValue& value = parameters[index];
    if (!std::holds_alternative<std::string>(value) && !std::holds_alternative<const char*>(value)) return false;
    out = settingTextForm(value);
    return true;
}

} // namespace

LabelMenuItem::LabelMenuItem(MenuItemContext* context, const std::string& name,
                             const NameParameters* nameParameters, AbstractMenuItem* parent)
    : AbstractMenuItem(parent, name, context, nameParameters) {
    const NameParameters& parameters = this->nameParameters();
    std::string text;
    if (textParameter(parameters, 0, text)) readFont(text);
    if (textParameter(parameters, 1, text)) setTextAnchor(parseAnchor(text));
    if (textParameter(parameters, 2, m_lineId) && LocalizationHandler::exists()) {
        setText(LocalizationHandler::instance().getLine(m_lineId));
    }
    drawHooks().push_back({DrawOrder, [this] { drawText(); }});
}

void LabelMenuItem::readFont(const std::string& fontName) {
    const SystemComponents* game = context().gameContext;
    if (game && game->fontSet) m_font = getNamedShared(fontName, *game->fontSet);
    if (m_font) return;
    // A font the set lacks is a data fault of the layout, not of the program.
    const Sprite* layout = context().layoutSprite.get();
    LogHandler::log(LogHandler::Warning, "LabelMenuItem",
                    "Layout '" + (layout ? layout->name() : std::string()) + "' names the font '" + fontName +
                        "', which the font set lacks: label '" + this->name() + "' shows no text");
}

void LabelMenuItem::setText(const std::string& text, std::string* overflow) {
    if (hitArea() && m_font) {
        m_textMesh = Font::buildWrappedText(overflow, *m_font, text, hitArea()->worldBounds(), m_textAnchor, m_alignMode);
    }
    m_dirty = true;
}

void LabelMenuItem::setTextIfChanged(const std::string& text) {
    if (m_textMesh && m_textMesh->text == text) return;
    setText(text);
}

void LabelMenuItem::setTextAnchor(CompassAnchor anchor) {
    m_textAnchor = anchor;
    m_alignMode = AlignEachLine;
    if (m_textMesh && (m_textMesh->anchor != anchor || m_textMesh->mode != m_alignMode)) {
        const std::string text = m_textMesh->text;
        setText(text);
    }
}

void LabelMenuItem::refreshText() {
    if (m_lineId.empty() || !LocalizationHandler::exists()) return;
    setTextIfChanged(LocalizationHandler::instance().getLine(m_lineId));
}

fpRect LabelMenuItem::getTextBounds() const { return m_textMesh ? m_textMesh->bounds : fpRect(); }

void LabelMenuItem::update(const UpdateRecord& record) {
    AbstractMenuItem::update(record);
    if (!m_font || !m_textMesh || !visible()) return;
    const fpRect r = getHitBounds();
    if (m_dirty || r.w != m_lastRect.w || r.h != m_lastRect.h) {
        TextMesh::align(AlignEachLine, *m_textMesh, fpRect(0.0f, 0.0f, r.w, r.h), m_textAnchor);
    } else if (m_lastScale == textScale && r.x == m_lastRect.x && r.y == m_lastRect.y) {
        return;
    }
    if (textScale == 1.0f) {
        m_transform = fpMatrix4::translation(r.x, r.y, 0.0f);
    } else {
        const fpRect& b = m_textMesh->bounds;
        const float cx = b.x + b.w / 2.0f;
        const float cy = b.y + b.h / 2.0f;
        fpMatrix4 scaled;
        fpMatrix4::translation(r.x + cx, r.y + cy, 0.0f).multiply(fpMatrix4::scaling(textScale, textScale, 1.0f),
                                                                 scaled);
        scaled.multiply(fpMatrix4::translation(-cx, -cy, 0.0f), m_transform);
    }
    m_lastScale = textScale;
    m_lastRect = r;
    m_dirty = false;
}

void LabelMenuItem::drawText() {
    const SystemComponents* game = context().gameContext;
    if (!visible() || !m_font || !m_textMesh || !node() || !game) return;
    m_textMesh->draw(*game->quadBatch, node()->packedColor(), m_transform);
}

} // namespace zor
