#pragma once
// What the save records do with values their fields cannot hold: a list longer than its
// count field fails the save before the record is written, so no file changes; a single
// value beyond its field is stored as the nearest value the field holds.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>

namespace zor {

class StringTableDynamic;

// Throws CheckReleaseError "A save holds at most <most> <what>, not <count>" when the list
// is longer than its field allows.
void checkRecordCount(std::size_t count, std::size_t most, const char* what);

// The 16-bit index of the name in the save's table, adding the name when it is missing.
// Throws CheckReleaseError for a name over 65535 bytes (the table is left alone) or when
// the table already holds every index the field can name.
std::uint16_t recordNameIndex(StringTableDynamic& names, const std::string& name);

// The value clamped into the range of the field type T.
template <class T>
T saturated(std::int64_t value) {
    return T(std::clamp<std::int64_t>(value, std::numeric_limits<T>::min(), std::numeric_limits<T>::max()));
}

} // namespace zor
