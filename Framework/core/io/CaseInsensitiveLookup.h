#pragma once
// Game data was named on a file system that ignores letter case, so data files and the
// code may spell a name differently from the file on disk.

#include <string>

namespace zor {

// The path `name` below `root` as spelled on disk: each "/"-separated component that does
// not exist under its exact spelling is matched against its folder's entries ignoring
// ASCII letter case (the lowest such name in byte order wins). Returns the empty string
// when some component matches nothing.
std::string findIgnoringCase(const std::string& root, const std::string& name);

} // namespace zor
