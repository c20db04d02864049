#pragma once
// A digest of everything a level build produces: tile layers, byte grid, cell records (in
// cell order) and every object list, floats by their bits. Two builds hash alike only when
// they agree cell for cell and record for record.

#include <cstdint>

namespace zor {
struct Level;
}

namespace zor::test {

std::uint64_t levelHash(const Level& level);

} // namespace zor::test
