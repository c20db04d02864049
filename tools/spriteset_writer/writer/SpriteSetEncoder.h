#pragma once
// The bytes of "spriteset.dat" for a description, exactly as described: the encoder checks
// nothing but that counts and texts fit their fields, so tests can also write damaged sets.

#include <cstdint>
#include <vector>

#include "tools/spriteset_writer/writer/SpriteSetDescription.h"

namespace zor::spriteset {

// Throws std::runtime_error when a list holds more than 65535 entries or a text more than
// 65535 bytes.
std::vector<std::uint8_t> encodeSpriteSet(const SpriteSetDescription& description);

} // namespace zor::spriteset
