#pragma once
// Shared piece of the text forms of the maths types.

#include <iosfwd>

namespace zor {

// Consumes exactly one character, whatever it is and whatever the stream's
// skipws flag says: the separator between two numbers.
void skipSeparator(std::istream& in);

} // namespace zor
