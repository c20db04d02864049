#pragma once
// Counts the program's operator new calls while counting is on. A test program that uses
// these links the replacement operators with them, so every allocation of that program
// goes through the counter; programs that do not use them keep the standard operators.

#include <atomic>

namespace zor::test {

extern std::atomic<bool> countingAllocations;
extern std::atomic<long> countedAllocations;

} // namespace zor::test
