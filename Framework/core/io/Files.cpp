#include "Framework/core/io/Files.h"

#include "Framework/core/Errors.h"
#include "Framework/core/io/CaseInsensitiveLookup.h"
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
#include <memory>
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

// A new file beside `target` that no one else uses, opened for writing.
int createTemporaryBeside(const std::string& target, std::string& temporary) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = target + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

void syncFolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) ::fsync(dir.get());
}

// Writes a complete, synced file beside `target` holding the content of `prefix` (when
// given) and then the bytes, and names it in `temporary`; nothing is left on failure.
bool prepareReplacement(const std::string& target, const std::string* prefix, const void* bytes, std::size_t length,
                        std::string& temporary) {
    FileDescriptor out(createTemporaryBeside(target, temporary));
    if (out.get() < 0) return false;
    bool ok = (!prefix || appendFileContent(out.get(), *prefix)) &&
              writeAll(out.get(), static_cast<const std::uint8_t*>(bytes), length) && ::fsync(out.get()) == 0;
    ok = out.close() && ok;
    if (!ok) ::unlink(temporary.c_str());
    return ok;
}

// Renames the prepared file over `target` in one step, so readers and crashes see either
// the old or the new file, never a torn one.
bool commitReplacement(const std::string& temporary, const std::string& target) {
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    syncFolderOf(target);
    return true;
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
    g_roots[1] = overridden.empty() ? joinPath(documentsFolder(), joinPath("My Games", "Morrowdeep")) : overridden;
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
    boost::property_tree::read_xml(in, parsed, boost::property_tree::xml_parser::no_comments);
    tree.swap(parsed);
    return size;
}

bool writeFile(const std::string& name, const void* data, std::size_t length, unsigned flags) {
    if (!createDirectories(resolvePath(directoryOf(name), FileLocation::User))) return false;
    const std::string target = resolvePath(name, FileLocation::User);

    std::string temporary;
    if (!prepareReplacement(target, (flags & WriteFileAppend) ? &target : nullptr, data, length, temporary))
        return false;
    struct stat info;
    if ((flags & WriteFileBackup) && ::stat(target.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
        // The target is always a complete file, so this never copies a torn one. A failed
        // backup does not stop the write.
        const std::string backup = target + ".backup";
        std::string backupTemporary;
        if (prepareReplacement(backup, &target, nullptr, 0, backupTemporary)) commitReplacement(backupTemporary, backup);
    }
    return commitReplacement(temporary, target);
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
        return false;
    }
    return true;
}

bool deleteUserFile(const std::string& name) {
    return ::unlink(resolvePath(name, FileLocation::User).c_str()) == 0;
}

} // namespace zor
