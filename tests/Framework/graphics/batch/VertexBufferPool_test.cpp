#include "Framework/graphics/batch/VertexBufferPool.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

TEST(VertexBufferPool, NewBuffersAreOneByteAboveAPowerOfTwo) {
    const struct {
        std::uint32_t request, size;
    } cases[] = {
        {2, 2},     {3, 3},     {4, 5},     {5, 5},           {96, 129},        {128, 129},
        {129, 129}, {130, 257}, {192, 257}, {98304, 131073},  {0x80000001u, 0x80000001u},
        // Requests below 2 wrap around to a one-byte buffer.
        {1, 1},     {0, 1},
    };
    for (const auto& c : cases) EXPECT_EQ(VertexBufferPool::newBufferSize(c.request), c.size) << c.request;
}

} // namespace
} // namespace zor
