#pragma once
// The shared byte buffer that file reads fill and binary streams read from or write into.

#include <cstdint>
#include <memory>

namespace zor {

using ByteArray = std::shared_ptr<std::uint8_t[]>;

} // namespace zor
