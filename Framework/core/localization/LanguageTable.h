#pragma once
// The lines of one language: line id to text, read from a tab-separated table.
//
// Table format, one line per entry: id TAB text [TAB note]. Empty fields are dropped, so
// runs of tabs separate as one; a line with one field or more than three is ignored, as
// are lines starting with "#" and blank lines. In every field backslash-n becomes a line
// feed, then one pair of enclosing double quotes is removed. Fields are not trimmed.

#include <string>
#include <unordered_map>
#include <vector>

namespace zor {

using LanguageTable = std::unordered_map<std::string, std::string>;

// Adds the entries of the lines to the table; an id already present keeps its text.
void readLanguageTable(const std::vector<std::string>& lines, LanguageTable& table);

} // namespace zor
