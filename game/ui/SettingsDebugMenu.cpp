#include "game/ui/SettingsDebugMenu.h"

#include "Framework/core/settings/SettingsHandler.h"
#include "Framework/graphics/debug/DebugDraw.h"
#include "Framework/input/InputState.h"
#include "Framework/system/SettingsSetUp.h"
#include "Framework/system/SystemComponents.h"

#include <algorithm>
#include <cstdint>

namespace zor {

namespace {

const fpRect LinesBox(8.0f, 8.0f, 624.0f, 44.0f);
// Shown until replaced or the menu closes.
constexpr float LineTime = 1.0e6f;
const PackedColor HeadColour = PackedColor::fromChannels(255, 220, 120, 255);

std::uintptr_t logId(const SettingsDebugMenu* menu) { return std::uintptr_t(menu); }

} // namespace

SettingsDebugMenu::SettingsDebugMenu(SystemComponents& components, std::int32_t page)
    : m_font(components.debugSmallFont) {
    for (const auto& entry : SettingsHandler::instance().settings()) m_keys.push_back(entry.first);
    std::sort(m_keys.begin(), m_keys.end());
    const std::int32_t last = std::int32_t(m_keys.size()) - 1;
    m_page = std::clamp(page, 0, std::max(last, 0));
}

SettingsDebugMenu::~SettingsDebugMenu() {
    if (DebugDraw::exists()) DebugDraw::instance().screenLayer.expireLog(logId(this));
}

std::vector<std::string> SettingsDebugMenu::pageLines() const {
    if (m_keys.empty()) return {"Settings: none"};
    const std::string& key = m_keys[std::size_t(m_page)];
    const SettingsHandler::Setting& setting = SettingsHandler::instance().setting(key);
    const OptionalSettingValue& value = setting.Value.isSet ? setting.Value : setting.DefaultValue;
    return {"Settings " + std::to_string(m_page + 1) + "/" + std::to_string(m_keys.size()) + ": " + key + " = " +
                settingTextForm(value.value) + (setting.Visibility == SettingPublic ? " (public)" : ""),
            setting.Description,
            "up/down: page   left/right: change   accept: save   cancel: close"};
}

void SettingsDebugMenu::turnPage(std::int32_t by) {
    if (m_keys.empty()) return;
    const std::int32_t count = std::int32_t(m_keys.size());
    m_page = ((m_page + by) % count + count) % count;
    m_dirty = true;
}

void SettingsDebugMenu::stepValue(std::int32_t direction) {
    if (m_keys.empty()) return;
    const std::string& key = m_keys[std::size_t(m_page)];
    SettingsHandler& settings = SettingsHandler::instance();
    // The declared default tells what kind of number the setting is.
    const SettingValue& kind = settings.setting(key).DefaultValue.value;
    if (std::holds_alternative<std::int32_t>(kind))
        settings.setValue(key, settings.getInt(key) + direction);
    else if (std::holds_alternative<float>(kind))
        settings.setValue(key, settings.getFloat(key) + 0.1f * float(direction));
    else
        return;
    m_dirty = true;
}

bool SettingsDebugMenu::handleInput(InputState& input) {
    if (input.wasPressed("menu_cancel")) {
        closed.fireNoArgs();
    } else if (input.wasPressedOrRepeated("menu_up")) {
        turnPage(-1);
    } else if (input.wasPressedOrRepeated("menu_down")) {
        turnPage(1);
    } else if (input.wasPressedOrRepeated("menu_left")) {
        stepValue(-1);
    } else if (input.wasPressedOrRepeated("menu_right")) {
        stepValue(1);
    } else if (input.wasPressed("menu_accept")) {
        SettingsHandler::instance().writeValues("settings.xml", UserSettingsMask);
    } else {
        return false;
    }
    return true;
}

void SettingsDebugMenu::update(const UpdateRecord&) {
    if (!m_dirty || !DebugDraw::exists()) return;
    m_dirty = false;
    DebugDraw::Layer& layer = DebugDraw::instance().screenLayer;
    layer.expireLog(logId(this));
    const std::vector<std::string> lines = pageLines();
    for (std::size_t i = 0; i < lines.size(); ++i)
        layer.addLogLine(lines[i], logId(this), LinesBox, LineTime, m_font,
                         i == 0 ? HeadColour : PackedColor(0xFFFFFFFFu));
}

} // namespace zor
