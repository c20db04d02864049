#pragma once
// Hash maps keyed by a name that are also searched by a text view, so that a look-up with
// a literal or a view builds no string: the simulation looks names up every step.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include <boost/unordered_map.hpp>

namespace zor {

// The same value for a string and a view of the same text.
struct NameHash {
    std::size_t operator()(std::string_view name) const noexcept { return std::hash<std::string_view>()(name); }
};

template <class T>
using NameMap = boost::unordered_map<std::string, T, NameHash, std::equal_to<>>;

template <class Map>
auto findName(Map& map, std::string_view name) {
    return map.find(name, NameHash(), std::equal_to<>());
}

} // namespace zor
