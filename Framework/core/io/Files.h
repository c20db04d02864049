#pragma once
// Whole-file access below the two roots: the game data folder (read only) and the user
// folder (settings, saves, progress, captures). Names inside the program use "/".

#include "Framework/core/io/ByteArray.h"

#include <boost/property_tree/ptree_fwd.hpp>

#include <cstddef>
#include <string>
#include <vector>

namespace zor {

enum class FileLocation { GameData = 0, User = 1 };

// Flags of writeFile.
enum WriteFileFlags : unsigned {
    WriteFileAppend = 1, // add to the end of the present file
    WriteFileBackup = 2, // keep the present file as name + ".backup"
};

// Largest file readFile accepts; bigger files are refused as damaged data.
constexpr std::size_t MaxReadFileSize = std::size_t(512) << 20;

// Sets the game data root to `bundleFolder` and the user root to the user folder, which
// is created when missing (a warning says where when no home folder is known, as the folder
// is then below the working folder). Runs once at start-up, before other threads exist.
void initFileSystem(const std::string& bundleFolder);

// The native path of `name` below a root. Game data names that do not exist under their
// exact spelling are looked up ignoring letter case, one path component at a time.
std::string resolvePath(const std::string& name, FileLocation location);
// The path of a game data file, for components that open it themselves.
std::string gamePath(const std::string& name);
// The native form of a program path; "/" is already the native separator here.
std::string toBackslashes(const std::string& path);

// Replaces `buffer` with the file's bytes and returns their count. A file that cannot be
// opened throws CheckReleaseError "Could not open file: <path>" when `required`, otherwise
// returns 0 and leaves `buffer` alone. A non-regular file, a failed size query, a file
// over MaxReadFileSize or a failed read always throws.
std::size_t readFile(ByteArray& buffer, const std::string& name, FileLocation location, bool required);
// The bytes of a game data file as text (not required); returns the byte count.
std::size_t readText(const std::string& name, std::string& text);
// The file split into lines, without one empty last line; `lines` is left alone when
// nothing was read. Returns the byte count.
std::size_t readLines(const std::string& name, std::vector<std::string>& lines, FileLocation location,
                      bool required);
// The file parsed as XML into `tree` (comments dropped, white space kept), not required.
// Parse errors propagate as the property tree reader's exception, naming the file's path.
std::size_t readXml(const std::string& name, boost::property_tree::ptree& tree, FileLocation location);

// Writes into the user folder, creating the name's folder first. The new content goes to
// a temporary file (name + ".tmp-<process id>-<number>") that is synced and renamed over
// the target, so the target is always either the old or the new file; temporary files of
// the target that interrupted writes left behind are removed first. Returns false on any
// failure, leaving the target as it was, with the path and the cause in `error` when given.
bool writeFile(const std::string& name, const void* data, std::size_t length, unsigned flags,
               std::string* error = nullptr);
// Renames a user file, replacing `to`; true when it was renamed.
bool renameUserFile(const std::string& from, const std::string& to);

// True when the path exists and is not a directory.
bool fileExists(const std::string& name, FileLocation location);
// Appends every entry matching the wildcard pattern ("*", "?"; the pattern may hold a
// folder part, as in "Levels/*.xml") as that folder part + the entry's name. Game data
// names match ignoring letter case. Returns the number appended.
std::size_t listFiles(FileLocation location, std::vector<std::string>& names, const std::string& pattern);
// Creates the folder and its missing parents; true when it exists afterwards, else errno
// tells why.
bool createDirectories(const std::string& nativePath);
// True when the user file was deleted.
bool deleteUserFile(const std::string& name);

} // namespace zor
