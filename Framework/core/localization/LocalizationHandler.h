#pragma once
// The text of every line the game shows, in the current language. Each language is one
// table "<folder>/<code>.csv" in the game data folder (see LanguageTable.h). The language
// is chosen from the setting "Language.Custom", then the user's interface language, then
// the setting "Language.Fallback".

#include "Framework/core/AbstractSingleton.h"
#include "Framework/core/localization/LanguageTable.h"

#include <string>

namespace zor {

class LocalizationHandler : public AbstractSingleton<LocalizationHandler> {
public:
    LocalizationHandler();

    // Stores the table folder and loads the first language that has a table; throws
    // CheckReleaseError "Default language file not present" when none has.
    void init(const std::string& folder);

    // Loads the code's table and makes it current. Asking for the current language reads
    // nothing; the empty code is never a language. A code with a region ("en-GB") falls back to its language ("en"). Only
    // short codes of letters, "-" and "_" are accepted: the code becomes part of a path.
    // False, keeping the current table, when no table could be loaded.
    bool setLanguage(const std::string& code);

    // The line's text, or "!LINE MISSING!".
    const std::string& getLine(const std::string& id) const;
    // The line's text, or null.
    const std::string* findLine(const std::string& id) const;

    std::string fallbackLanguage() const;
    // The code of the user's interface language when the game has it, else the fallback.
    std::string uiLanguage() const;

    const std::string& currentLanguage() const { return m_currentLanguage; }
    // Whether an overlong text line may be broken only at blanks (every language but "ja").
    bool breaksAtSpaces() const { return m_breaksAtSpaces; }

private:
    LanguageTable m_table;
    std::string m_currentLanguage;
    std::string m_folder;
    bool m_breaksAtSpaces = true;
};

// The language part of a locale name ("sv_SE.UTF-8" -> "sv") when it is one of the
// languages the game knows; empty otherwise.
std::string knownLanguageOfLocale(const std::string& locale);

} // namespace zor
