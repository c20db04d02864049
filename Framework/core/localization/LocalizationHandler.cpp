#include "Framework/core/localization/LocalizationHandler.h"

#include "Framework/core/Errors.h"
#include "Framework/core/io/Files.h"
#include "Framework/core/settings/SettingsHandler.h"
#include "Framework/core/text/TextUtils.h"

#include <cstdlib>
#include <vector>

namespace zor {

namespace {

constexpr std::size_t kInitialBuckets = 11;
constexpr std::size_t kLongestCode = 16;

bool isAcceptedCode(const std::string& code) {
    if (code.empty() || code.size() > kLongestCode) return false;
    for (const char c : code) {
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!letter && c != '-' && c != '_') return false;
    }
    return true;
}

// The locale that names the messages language, in the precedence the C library uses.
std::string messagesLocale() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value) return value;
    }
    return {};
}

} // namespace

std::string knownLanguageOfLocale(const std::string& locale) {
    static const char* const known[] = {"de", "en", "es", "fr", "it", "ja", "ru", "sv"};
    const std::string language = locale.substr(0, locale.find_first_of("_-.@"));
    for (const char* code : known)
        if (language == code) return language;
    return {};
}

LocalizationHandler::LocalizationHandler() : m_table(kInitialBuckets) { m_table.max_load_factor(1.0f); }

void LocalizationHandler::init(const std::string& folder) {
    m_folder = folder;
    const std::string custom = SettingsHandler::instance().getString("Language.Custom");
    if (!custom.empty() && setLanguage(custom)) return;
    if (setLanguage(uiLanguage())) return;
    if (setLanguage(fallbackLanguage())) return;
    throw CheckReleaseError("Default language file not present");
}

bool LocalizationHandler::setLanguage(const std::string& code) {
    // An empty current language means no table yet: asking for "" must not pass for one.
    if (!m_currentLanguage.empty() && code == m_currentLanguage) return true;
    if (!isAcceptedCode(code)) return false;
    std::vector<std::string> lines;
    readLines(joinPath(m_folder, code) + ".csv", lines, FileLocation::GameData, false);
    if (!lines.empty()) {
        m_table.clear();
        readLanguageTable(lines, m_table);
        m_currentLanguage = code;
        m_breaksAtSpaces = code != "ja";
        return true;
    }
    const std::size_t dash = code.find('-');
    return dash != std::string::npos && dash > 0 && setLanguage(code.substr(0, dash));
}

const std::string* LocalizationHandler::findLine(const std::string& id) const {
    const auto found = m_table.find(id);
    return found == m_table.end() ? nullptr : &found->second;
}

const std::string& LocalizationHandler::getLine(const std::string& id) const {
    static const std::string missing = "!LINE MISSING!";
    const std::string* line = findLine(id);
    return line ? *line : missing;
}

std::string LocalizationHandler::fallbackLanguage() const {
    return SettingsHandler::instance().getString("Language.Fallback");
}

std::string LocalizationHandler::uiLanguage() const {
    const std::string code = knownLanguageOfLocale(messagesLocale());
    return code.empty() ? fallbackLanguage() : code;
}

} // namespace zor
