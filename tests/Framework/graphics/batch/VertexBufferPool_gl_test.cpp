#include "Framework/core/debug/DebugFlags.h"
#include "Framework/graphics/batch/VertexBufferPool.h"
#include "tests/support/gl/GLTestContext.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

namespace zor {
namespace {

class VertexBufferPoolTest : public test::GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        VertexBufferPool::init();
    }
    void TearDown() override {
        VertexBufferPool::shutdown();
        GLTest::TearDown();
    }

    static GLint glSize(const VertexBuffer* buffer) {
        GLint size = 0;
        glBindBuffer(GL_ARRAY_BUFFER, buffer->name);
        glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &size);
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        return size;
    }

    // A free buffer of the given request's new size.
    static VertexBuffer* freeBuffer(std::uint32_t request) {
        VertexBuffer* buffer = VertexBufferPool::acquire(request);
        VertexBufferPool::release(buffer);
        VertexBufferPool::nextFrame();
        return buffer;
    }
};

TEST_F(VertexBufferPoolTest, ReusesAFreeBufferOfAtMostTwiceTheRequest) {
    const struct {
        const char* name;
        std::uint32_t freeRequest;  // makes a free buffer of newBufferSize(freeRequest)
        std::uint32_t request;
        bool reused;
        std::uint32_t size;
    } cases[] = {
        {"129 for 65", 96, 65, true, 129},
        {"129 for 129", 96, 129, true, 129},
        {"129 is too big for 64", 96, 64, false, 65},
        {"129 is too small for 130", 96, 130, false, 257},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        VertexBuffer* free = freeBuffer(c.freeRequest);
        ASSERT_EQ(free->size, 129u);
        VertexBuffer* got = VertexBufferPool::acquire(c.request);
        EXPECT_EQ(got == free, c.reused);
        EXPECT_EQ(got->size, c.size);
        EXPECT_EQ(glSize(got), static_cast<GLint>(c.size));
        // The unused free buffer stays free.
        EXPECT_EQ(VertexBufferPool::stats().total, c.reused ? 0u : 1u);
        VertexBufferPool::release(got);
        VertexBufferPool::shutdown();
        VertexBufferPool::init();
    }
}

TEST_F(VertexBufferPoolTest, AReleasedBufferWaitsForTheNextFrame) {
    VertexBuffer* first = VertexBufferPool::acquire(96);
    VertexBufferPool::release(first);
    VertexBuffer* second = VertexBufferPool::acquire(96);
    EXPECT_NE(second, first);
    EXPECT_EQ(VertexBufferPool::statsLines()[1], "Waiting: 1");
    VertexBufferPool::release(second);
    VertexBufferPool::nextFrame();
    // Equal sizes: the one freed first comes first.
    EXPECT_EQ(VertexBufferPool::acquire(96), first);
    EXPECT_EQ(VertexBufferPool::acquire(96), second);
    VertexBufferPool::release(first);
    VertexBufferPool::release(second);
}

// For batches that write into mapped buffers without synchronising, a drawn buffer waits
// several frames, each released in its own frame's list.
TEST_F(VertexBufferPoolTest, WithMoreFrameListsABufferWaitsThatManyFrames) {
    VertexBufferPool::shutdown();
    VertexBufferPool::init(VertexBufferPool::MappedFramesBeforeReuse);
    VertexBuffer* early = VertexBufferPool::acquire(96);
    VertexBufferPool::release(early);
    VertexBufferPool::nextFrame();
    VertexBuffer* late = VertexBufferPool::acquire(96);
    EXPECT_NE(late, early);
    VertexBufferPool::release(late);
    VertexBufferPool::nextFrame();
    EXPECT_EQ(VertexBufferPool::stats().waiting, 2u);
    VertexBufferPool::nextFrame();
    EXPECT_EQ(VertexBufferPool::stats().waiting, 1u) << "three frames after its release";
    EXPECT_EQ(VertexBufferPool::acquire(96), early);
    VertexBufferPool::release(early);
    VertexBufferPool::shutdown();
    VertexBufferPool::init();
}

TEST_F(VertexBufferPoolTest, StatisticsCountWaitingAndFreeBuffersAndTheirBytes) {
    EXPECT_EQ(VertexBufferPool::statsLines(),
              (std::array<std::string, 3>{"Total: 0", "Waiting: 0", "Memory: 0"}));
    VertexBufferPool::release(VertexBufferPool::acquire(96));
    VertexBufferPool::release(VertexBufferPool::acquire(200));
    EXPECT_EQ(VertexBufferPool::statsLines(),
              (std::array<std::string, 3>{"Total: 2", "Waiting: 2", "Memory: 386"}));
    VertexBufferPool::nextFrame();
    EXPECT_EQ(VertexBufferPool::statsLines(),
              (std::array<std::string, 3>{"Total: 2", "Waiting: 0", "Memory: 386"}));
    EXPECT_NE(findDebugFlag("perf", "vbpool"), nullptr);
}

TEST_F(VertexBufferPoolTest, ShutdownDeletesEveryBufferItHolds) {
    VertexBuffer* waiting = VertexBufferPool::acquire(10);
    VertexBuffer* free = VertexBufferPool::acquire(20);
    const unsigned names[] = {waiting->name, free->name};
    VertexBufferPool::release(free);
    VertexBufferPool::nextFrame();
    VertexBufferPool::release(waiting);
    VertexBufferPool::shutdown();
    for (const unsigned name : names) EXPECT_EQ(glIsBuffer(name), GL_FALSE);
    EXPECT_EQ(VertexBufferPool::stats().total, 0u);
}

} // namespace
} // namespace zor
