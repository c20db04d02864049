#pragma once
// Every font of the game by name, loaded at start-up from the list "fonts.txt" of the
// folder "Fonts". Look fonts up with getNamedShared (null when absent) or require.

#include "Framework/graphics/font/Font.h"

#include <memory>
#include <string>
#include <unordered_map>

namespace zor {

class FontSet : public std::unordered_map<std::string, std::shared_ptr<Font>> {
public:
    // Loads each font named by a non-empty line of "<folder>/fonts.txt", in order, under
    // the line without its extension, replacing a font of that name. Without the list
    // the set stays as it is. A font that cannot be read throws CheckReleaseError.
    void load(const std::string& folder);

    // The font of that name; throws CheckReleaseError naming it and the list when the
    // set lacks it, so a missing list or line is reported where the font is needed.
    Font& require(const std::string& name) const;
    std::shared_ptr<Font> requireShared(const std::string& name) const;

private:
    std::string m_listPath = "Fonts/fonts.txt";
};

} // namespace zor
