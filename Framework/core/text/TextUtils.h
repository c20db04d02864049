#pragma once
// Byte-string helpers shared by the file layer, settings, language tables and asset
// loaders. Paths use "/" inside the program; no character set conversion happens here.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zor {

struct OptionalSettingValue;

// Paths.
// base + "/" + name, after trimming blanks and "/" from the end of base and from both
// ends of name; just the trimmed name when the trimmed base is empty.
std::string joinPath(const std::string& base, const std::string& name);
// Text after the last "/" or "\"; the whole path when there is neither.
std::string fileNameOf(const std::string& path);
// Text up to and including the last "/" ("\" does not count); empty when there is none.
std::string directoryOf(const std::string& path);
// Text after the last "."; empty when there is none (a dot in a folder name counts).
std::string extensionOf(const std::string& path);
// The path without its extension; unchanged when the last ".", "/" or "\" is not a ".".
std::string removeExtension(const std::string& path);
std::string toForwardSlashes(const std::string& path);
// `path` as seen from the folder of `base`, with ".." steps where needed.
std::string relativePath(const std::string& path, const std::string& base);

// Text.
// Lines split at CR, LF, CR LF and LF CR; a text ending in a break gives an empty last
// line, and the empty text gives one empty line.
std::vector<std::string> splitLines(std::string_view text);
// True exactly for "true" in any letter case, with nothing around it.
bool isTrue(std::string_view text);
bool startsWith(std::string_view text, std::string_view prefix);
// Appends to `pieces` the pieces of `text` between any of the `separators` characters,
// dropping empty pieces; returns how many it appended.
std::size_t splitTokens(std::string_view text, std::string_view separators, std::vector<std::string>& pieces);

// Asset names. Both append set string values and return how many they appended.
// The comma-separated options between the last "[" and the last "]" of the name, each
// trimmed of white space; empty pieces between commas are dropped.
std::size_t parseOptionList(const std::string& name, std::vector<OptionalSettingValue>& values);
// The texts after each "__" of the name (base__8__loop gives 8 and loop); the name is cut
// to its base before the first "__".
std::size_t parseNameParameters(std::string& name, std::vector<OptionalSettingValue>& values);

// Sleeps the calling thread; the duration is truncated to microseconds, then rounded to
// the nearest millisecond.
void sleepSeconds(double seconds);

} // namespace zor
