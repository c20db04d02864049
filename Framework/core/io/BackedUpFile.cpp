#include "Framework/core/io/BackedUpFile.h"

#include "Framework/core/io/Files.h"
#include "Framework/core/log/LogHandler.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <exception>

namespace zor {

namespace {

constexpr const char* LogSource = "Files";

// Whether the present user file is one `read` accepts; a file that cannot be read is not.
bool readerAccepts(const std::string& name, const FileReader& read) {
    ByteArray data;
    std::size_t size = 0;
    try {
        size = readFile(data, name, FileLocation::User, false);
    } catch (const std::exception& error) {
        LogHandler::log(LogHandler::Warning, LogSource, error.what());
        return false;
    }
    return read(data, size);
}

// Renames without replacing: false with errno EEXIST when `to` exists.
bool renameNoReplace(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return false;
    // A file system without the flag: a check, then the rename.
    struct stat info;
    if (::lstat(to.c_str(), &info) == 0) {
        errno = EEXIST;
        return false;
    }
    return ::rename(from.c_str(), to.c_str()) == 0;
}

} // namespace

std::string moveAsideAsCorrupt(const std::string& name) {
    const std::string from = resolvePath(name, FileLocation::User);
    for (unsigned number = 1;; ++number) {
        const std::string aside = name + ".corrupt-" + std::to_string(number);
        if (renameNoReplace(from, resolvePath(aside, FileLocation::User))) {
            LogHandler::log(LogHandler::Warning, LogSource, "Unreadable " + from + " was moved aside as " + aside);
            return aside;
        }
        if (errno != EEXIST) {
            LogHandler::log(LogHandler::Warning, LogSource,
                            "Unreadable " + from + " could not be moved aside: " + std::strerror(errno));
            return std::string();
        }
    }
}

BackedUpLoad loadBackedUpFile(const std::string& name, const FileReader& read) {
    BackedUpLoad load;
    const std::string candidates[] = {name, name + ".backup"};
    for (std::size_t i = 0; i < 2; ++i) {
        const std::string& candidate = candidates[i];
        if (!fileExists(candidate, FileLocation::User)) continue;
        if (readerAccepts(candidate, read)) {
            load.source = i == 0 ? BackedUpLoad::Main : BackedUpLoad::Backup;
            return load;
        }
        load.refused.push_back(candidate);
        moveAsideAsCorrupt(candidate);
    }
    return load;
}

bool writeBackedUpFile(const std::string& name, const void* data, std::size_t length, const FileReader& read,
                       std::string* error) {
    unsigned flags = 0;
    if (fileExists(name, FileLocation::User)) {
        if (readerAccepts(name, read))
            flags = WriteFileBackup;
        else
            moveAsideAsCorrupt(name);
    }
    return writeFile(name, data, length, flags, error);
}

} // namespace zor
