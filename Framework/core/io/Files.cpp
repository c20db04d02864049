#include "Framework/core/io/Files.h"

#include "Framework/core/Errors.h"
#include "Framework/core/io/CaseInsensitiveLookup.h"
#include "Framework/core/log/LogHandler.h"
#include "Framework/core/text/TextUtils.h"
#include "Framework/platform/UserFolder.h"
#include "Framework/platform/FileDescriptor.h"

#include <boost/property_tree/ptree.hpp>
#include <boost/property_tree/xml_parser.hpp>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <mutex>
#include <set>
#include <sstream>

namespace zor {

namespace {

// Set once by initFileSystem, before any other thread runs; read-only afterwards.
std::string g_roots[2];

const std::string& rootOf(FileLocation location) {
    return g_roots[static_cast<int>(location)];
}

bool writeAll(int fd, const std::uint8_t* bytes, std::size_t length) {
    while (length > 0) {
        const ssize_t written = ::write(fd, bytes, length);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes += written;
        length -= static_cast<std::size_t>(written);
    }
    return true;
}

// Appends the whole of `source` to `fd`; a missing source adds nothing.
bool appendFileContent(int fd, const std::string& source) {
    FileDescriptor in(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
    if (in.get() < 0) return errno == ENOENT;
    std::uint8_t chunk[65536];
    for (;;) {
        const ssize_t got = ::read(in.get(), chunk, sizeof chunk);
        if (got < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (got == 0) return true;
        if (!writeAll(fd, chunk, static_cast<std::size_t>(got))) return false;
    }
}

// The temporary files this process is writing now; any other of its own is left over.
struct TemporariesInUse {
    std::mutex mutex;
    std::set<std::string> paths;
};

TemporariesInUse& temporariesInUse() {
    static TemporariesInUse inUse;
    return inUse;
}

// Temporary files are named target + ".tmp-<process id>-<number>".
const char* const TemporaryInfix = ".tmp-";

// A new file beside `target` that no one else uses, opened for writing and marked in use.
int createTemporaryBeside(const std::string& target, std::string& temporary) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = target + TemporaryInfix + std::to_string(::getpid()) + "-" + std::to_string(counter++);
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            TemporariesInUse& inUse = temporariesInUse();
            const std::lock_guard<std::mutex> lock(inUse.mutex);
            inUse.paths.insert(temporary);
        }
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

void releaseTemporary(const std::string& temporary) {
    TemporariesInUse& inUse = temporariesInUse();
    const std::lock_guard<std::mutex> lock(inUse.mutex);
    inUse.paths.erase(temporary);
}

// Whether a temporary file of `target` was left by an interrupted write: its writer has
// ended, or it is this process and no write of it is going on.
bool temporaryIsStale(const std::string& path, const std::string& target) {
    // The rest of the name is "<process id>-<number>".
    const std::string rest = path.substr(target.size() + std::strlen(TemporaryInfix));
    const std::size_t dash = rest.find('-');
    const auto isNumber = [](const std::string& text) {
        return !text.empty() && text.size() <= 9 && text.find_first_not_of("0123456789") == std::string::npos;
    };
    if (dash == std::string::npos || !isNumber(rest.substr(0, dash)) || !isNumber(rest.substr(dash + 1))) return false;
    const long writer = std::strtol(rest.substr(0, dash).c_str(), nullptr, 10);
    if (writer == static_cast<long>(::getpid())) {
        TemporariesInUse& inUse = temporariesInUse();
        const std::lock_guard<std::mutex> lock(inUse.mutex);
        return inUse.paths.count(path) == 0;
    }
    return writer > 0 && ::kill(static_cast<pid_t>(writer), 0) != 0 && errno == ESRCH;
}

// Removes what interrupted writes of `target` left beside it.
void removeStaleTemporaries(const std::string& target) {
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    const std::string prefix = (slash == std::string::npos ? target : target.substr(slash + 1)) + TemporaryInfix;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir) return;
    std::vector<std::string> stale;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (name.compare(0, prefix.size(), prefix) != 0) continue;
        const std::string path = slash == std::string::npos ? name : folder + name;
        if (temporaryIsStale(path, target)) stale.push_back(path);
    }
    for (const std::string& path : stale) ::unlink(path.c_str());
}

void syncFolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) ::fsync(dir.get());
}

// Writes a complete, synced file beside `target` holding the content of `prefix` (when
// given) and then the bytes, and names it in `temporary`; nothing is left on failure.
// errno tells the cause of a failure.
bool prepareReplacement(const std::string& target, const std::string* prefix, const void* bytes, std::size_t length,
                        std::string& temporary) {
    FileDescriptor out(createTemporaryBeside(target, temporary));
    if (out.get() < 0) return false;
    bool ok = (!prefix || appendFileContent(out.get(), *prefix)) &&
              writeAll(out.get(), static_cast<const std::uint8_t*>(bytes), length) && ::fsync(out.get()) == 0;
    ok = out.close() && ok;
    if (!ok) {
        const int cause = errno;
        ::unlink(temporary.c_str());
        releaseTemporary(temporary);
        errno = cause;
    }
    return ok;
}

// Renames the prepared file over `target` in one step, so readers and crashes see either
// the old or the new file, never a torn one. errno tells the cause of a failure.
bool commitReplacement(const std::string& temporary, const std::string& target) {
    const bool renamed = ::rename(temporary.c_str(), target.c_str()) == 0;
    const int cause = errno;
    if (!renamed) ::unlink(temporary.c_str());
    releaseTemporary(temporary);
    if (!renamed) {
        errno = cause;
        return false;
    }
    syncFolderOf(target);
    return true;
}

bool writeFailed(std::string* error, const std::string& path) {
    if (error) *error = path + ": " + std::strerror(errno);
    return false;
}

// Windows wildcard matching: "*" any run of characters, "?" one character, all else literal.
bool matchesWildcard(const char* pattern, const char* name, bool ignoreCase) {
    auto same = [ignoreCase](char a, char b) {
        return ignoreCase ? std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b))
                          : a == b;
    };
    const char* starPattern = nullptr;
    const char* starName = nullptr;
    while (*name) {
        if (*pattern == '*') {
            starPattern = ++pattern;
            starName = name;
        } else if (*pattern == '?' || (*pattern && same(*pattern, *name))) {
            ++pattern;
            ++name;
        } else if (starPattern) {
            pattern = starPattern;
            name = ++starName;
        } else {
            return false;
        }
    }
    while (*pattern == '*') ++pattern;
    return *pattern == '\0';
}

} // namespace

void initFileSystem(const std::string& bundleFolder) {
    g_roots[0] = bundleFolder;
    const std::string overridden = userFolderOverride();
    const std::string documents = overridden.empty() ? documentsFolder() : std::string();
    g_roots[1] = overridden.empty() ? joinPath(documents, joinPath("My Games", "Morrowdeep")) : overridden;
    if (overridden.empty() && documents.empty()) {
        std::error_code ignored;
        LogHandler::log(LogHandler::Warning, "Files",
                        "No home folder is known: settings and saves go to " +
                            (std::filesystem::current_path(ignored) / g_roots[1]).string());
    }
    createDirectories(toBackslashes(g_roots[1]));
}

std::string resolvePath(const std::string& name, FileLocation location) {
    const std::string path = joinPath(rootOf(location), name);
    if (location != FileLocation::GameData || ::access(path.c_str(), F_OK) == 0) return toBackslashes(path);
    const std::string found = findIgnoringCase(rootOf(location), name);
    return toBackslashes(found.empty() ? path : found);
}

std::string gamePath(const std::string& name) {
    return resolvePath(name, FileLocation::GameData);
}

std::string toBackslashes(const std::string& path) {
    return path;
}

std::size_t readFile(ByteArray& buffer, const std::string& name, FileLocation location, bool required) {
    const std::string path = resolvePath(name, location);
    // Non-blocking so that opening a named pipe cannot hang; it is refused below.
    FileDescriptor in(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (in.get() < 0) {
        if (required) throw CheckReleaseError("Could not open file: " + path);
        return 0;
    }
    struct stat info;
    if (::fstat(in.get(), &info) != 0) throw CheckReleaseError("Could not measure file: " + path);
    if (!S_ISREG(info.st_mode)) throw CheckReleaseError("Not a regular file: " + path);
    if (info.st_size < 0 || static_cast<std::uint64_t>(info.st_size) > MaxReadFileSize)
        throw CheckReleaseError("File too large: " + path + " (" + std::to_string(info.st_size) + " bytes)");

    const auto size = static_cast<std::size_t>(info.st_size);
    ByteArray content(new std::uint8_t[size]);
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = ::read(in.get(), content.get() + got, size - got);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw CheckReleaseError("Could not read file: " + path);
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    buffer = std::move(content);
    return got;
}

std::size_t readText(const std::string& name, std::string& text) {
    ByteArray buffer;
    const std::size_t size = readFile(buffer, name, FileLocation::GameData, false);
    if (size > 0) text.assign(reinterpret_cast<const char*>(buffer.get()), size);
    return size;
}

std::size_t readLines(const std::string& name, std::vector<std::string>& lines, FileLocation location,
                      bool required) {
    ByteArray buffer;
    const std::size_t size = readFile(buffer, name, location, required);
    if (size == 0) return 0;
    lines = splitLines(std::string_view(reinterpret_cast<const char*>(buffer.get()), size));
    if (!lines.empty() && lines.back().empty()) lines.pop_back();
    return size;
}

std::size_t readXml(const std::string& name, boost::property_tree::ptree& tree, FileLocation location) {
    ByteArray buffer;
    const std::size_t size = readFile(buffer, name, location, false);
    if (size == 0) return 0;
    std::istringstream in(std::string(reinterpret_cast<const char*>(buffer.get()), size));
    boost::property_tree::ptree parsed;
    try {
        boost::property_tree::read_xml(in, parsed, boost::property_tree::xml_parser::no_comments);
    } catch (const boost::property_tree::xml_parser_error& error) {
        // Read from memory, the parser knows no file name.
        throw boost::property_tree::xml_parser_error(error.message(), resolvePath(name, location), error.line());
    }
    tree.swap(parsed);
    return size;
}

bool writeFile(const std::string& name, const void* data, std::size_t length, unsigned flags, std::string* error) {
    std::string folder = resolvePath(directoryOf(name), FileLocation::User);
    if (!createDirectories(folder)) {
        if (folder.size() > 1 && folder.back() == '/') folder.pop_back();
        return writeFailed(error, folder);
    }
    const std::string target = resolvePath(name, FileLocation::User);
    removeStaleTemporaries(target);

    std::string temporary;
    if (!prepareReplacement(target, (flags & WriteFileAppend) ? &target : nullptr, data, length, temporary))
        return writeFailed(error, target);
    struct stat info;
    if ((flags & WriteFileBackup) && ::stat(target.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
        // The target is always a complete file, so this never copies a torn one. A failed
        // backup does not stop the write.
        const std::string backup = target + ".backup";
        std::string backupTemporary;
        if (prepareReplacement(backup, &target, nullptr, 0, backupTemporary)) commitReplacement(backupTemporary, backup);
    }
    return commitReplacement(temporary, target) || writeFailed(error, target);
}

bool renameUserFile(const std::string& from, const std::string& to) {
    return ::rename(resolvePath(from, FileLocation::User).c_str(), resolvePath(to, FileLocation::User).c_str()) == 0;
}

bool fileExists(const std::string& name, FileLocation location) {
    struct stat info;
    return ::stat(resolvePath(name, location).c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

std::size_t listFiles(FileLocation location, std::vector<std::string>& names, const std::string& pattern) {
    const std::string folderPart = directoryOf(pattern);
    const std::string filePattern = pattern.substr(folderPart.size());
    const std::string folder = resolvePath(folderPart, location);
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.empty() ? "." : folder.c_str()), ::closedir);
    if (!dir) return 0;

    const bool ignoreCase = location == FileLocation::GameData;
    std::vector<std::string> found;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string entryName = entry->d_name;
        if (entryName == "." || entryName == "..") continue;
        if (matchesWildcard(filePattern.c_str(), entryName.c_str(), ignoreCase)) found.push_back(folderPart + entryName);
    }
    std::sort(found.begin(), found.end());
    names.insert(names.end(), found.begin(), found.end());
    return found.size();
}

bool createDirectories(const std::string& nativePath) {
    std::string path = nativePath;
    if (!path.empty() && path.back() == '/') path.pop_back();

    // Walk up to the nearest folder that exists; an existing plain file does not stop it.
    std::vector<std::string> missing;
    for (std::string ancestor = path; !ancestor.empty();) {
        struct stat info;
        if (::stat(ancestor.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) break;
        missing.push_back(ancestor);
        const std::size_t slash = ancestor.rfind('/');
        ancestor = slash == std::string::npos ? std::string() : ancestor.substr(0, slash);
    }
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
        if (::mkdir(it->c_str(), 0777) == 0) continue;
        // Another thread or process may have made it meanwhile.
        struct stat info;
        if (errno == EEXIST && ::stat(it->c_str(), &info) == 0 && S_ISDIR(info.st_mode)) continue;
        // A plain file stands where a folder should be.
        if (errno == EEXIST) errno = ENOTDIR;
        return false;
    }
    return true;
}

bool deleteUserFile(const std::string& name) {
    return ::unlink(resolvePath(name, FileLocation::User).c_str()) == 0;
}

} // namespace zor
