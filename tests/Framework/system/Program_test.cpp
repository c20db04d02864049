#include "Framework/core/Errors.h"
#include "Framework/system/Program.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace zor {
namespace {

template <class E>
std::string mainErrorText(const E& error) {
    try {
        throw error;
    } catch (...) {
        return toMainError(std::current_exception()).message;
    }
}

struct NotAnException {};

TEST(Program, ExceptionsBecomeMainErrors) {
    EXPECT_EQ(mainErrorText(MainError("OpenGL 2.1 support is missing")), "OpenGL 2.1 support is missing");
    EXPECT_EQ(mainErrorText(std::runtime_error("disk on fire")), "Unexpected runtime error: disk on fire");
    // Data errors are runtime errors.
    EXPECT_EQ(mainErrorText(CheckReleaseError("Could not read settings definition x")),
              "Unexpected runtime error: Could not read settings definition x");
    EXPECT_EQ(mainErrorText(std::logic_error("bad order")), "Unexpected exception: bad order");
    EXPECT_EQ(mainErrorText(std::bad_alloc()), std::string("Unexpected exception: ") + std::bad_alloc().what());
    EXPECT_EQ(mainErrorText(NotAnException()), "Unknown exception.");
    EXPECT_EQ(mainErrorText(42), "Unknown exception.");
}

} // namespace
} // namespace zor
