#pragma once
// User files that matter (the session, the world saves) keep their previous version as
// name + ".backup", and a version their reader refuses is never lost or rotated over a good
// backup: it is moved aside as name + ".corrupt-1", ".corrupt-2", ... and logged.

#include "Framework/core/io/ByteArray.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace zor {

// The reader's verdict on the bytes of a present file (possibly empty): true when it takes
// them. Loading keeps what an accepting reader read; writing only asks.
using FileReader = std::function<bool(const ByteArray& data, std::size_t size)>;

struct BackedUpLoad {
    enum Source { None, Main, Backup };
    Source source = None;
    // Files the reader refused, by their names before they were moved aside.
    std::vector<std::string> refused;

    // Nothing was read although a file was there: the saved state is lost (its files are
    // kept aside).
    bool lost() const { return source == None && !refused.empty(); }
};

// Offers `name` of the user folder, then name + ".backup", to `read` until it accepts one.
// A missing file is skipped; one the reader refuses, or that cannot be read, is moved aside
// before the next is tried.
BackedUpLoad loadBackedUpFile(const std::string& name, const FileReader& read);

// writeFile into the user folder, where the present file becomes the ".backup" only when
// `read` accepts it; a present file it refuses is moved aside instead and the backup stays.
// False on failure, with the path and cause in `error` when given; the target is then the
// old file or, when that was refused, missing.
bool writeBackedUpFile(const std::string& name, const void* data, std::size_t length, const FileReader& read,
                       std::string* error = nullptr);

// Renames the user file to name + ".corrupt-N" for the smallest N not taken, never replacing
// a file, and logs it. The new name, or empty (and logged) when it could not be moved.
std::string moveAsideAsCorrupt(const std::string& name);

} // namespace zor
