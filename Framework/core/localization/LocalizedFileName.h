#pragma once
// Language-specific asset files: a suffix added to a file name before its extension, so a
// texture or font with text in it can have one file per language. Start-up sets the
// suffix once, before other threads run; while it is empty, names are left alone.

#include <string>

namespace zor {

void setLocalizedFileSuffix(const std::string& suffix);
const std::string& localizedFileSuffix();

// The name with the suffix before its extension (not added twice).
std::string localizedFileName(const std::string& name);

} // namespace zor
