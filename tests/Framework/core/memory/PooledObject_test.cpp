#include "Framework/core/memory/PooledObject.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <set>
#include <thread>
#include <vector>

namespace zor {
namespace {

// Each test uses classes of its own sizes: pools are process-wide and kept per size.
template <std::size_t Size, class Base = PooledObject>
struct Sized : Base {
    unsigned char bytes[Size];
};

using Forty = Sized<40>;
using FortyEight = Sized<48>;
using FiftySix = Sized<56>;
using SixtyFour = Sized<64>;

std::uintptr_t at(const void* p) { return reinterpret_cast<std::uintptr_t>(p); }

// Whether objects[first, first + count) lie one after the other in one block.
template <class T>
bool contiguous(const std::vector<T*>& objects, std::size_t first, std::size_t count) {
    for (std::size_t i = 1; i < count; ++i) {
        if (at(objects[first + i]) != at(objects[first]) + i * sizeof(T)) return false;
    }
    return true;
}

template <class T>
std::vector<T*> make(std::size_t count) {
    std::vector<T*> objects;
    for (std::size_t i = 0; i < count; ++i) objects.push_back(new T);
    return objects;
}

// In allocation order: freeing last-first would hand the chunks back in address order
// whether or not the blocks were released.
template <class T>
void destroy(std::vector<T*>& objects) {
    for (T* object : objects) delete object;
    objects.clear();
}

TEST(PooledObject, PoolsGrowByBlocksOf32ThenOf64Chunks) {
    static_assert(sizeof(Forty) == 40, "a 40-byte class");
    std::vector<Forty*> objects = make<Forty>(97);
    EXPECT_TRUE(contiguous(objects, 0, 32));
    EXPECT_FALSE(contiguous(objects, 0, 33)) << "the 33rd object starts the second block";
    EXPECT_TRUE(contiguous(objects, 32, 64));
    EXPECT_FALSE(contiguous(objects, 32, 65)) << "the second block holds 64 chunks";
    destroy(objects);
}

TEST(PooledObject, FreedChunksAreReusedBeforeTheHeapIsAskedAgain) {
    std::vector<FortyEight*> objects = make<FortyEight>(10);
    const std::set<FortyEight*> first(objects.begin(), objects.end());
    destroy(objects);
    objects = make<FortyEight>(10);
    EXPECT_EQ(std::set<FortyEight*>(objects.begin(), objects.end()), first);
    destroy(objects);
}

TEST(PooledObject, ReleasingFreeMemoryGivesBackEmptyBlocksAndStartsAgainAt32) {
    std::vector<FiftySix*> objects = make<FiftySix>(33);
    destroy(objects);
    PooledObject::releaseFreeMemory();
    objects = make<FiftySix>(33);
    EXPECT_TRUE(contiguous(objects, 0, 32)) << "a fresh first block";
    EXPECT_FALSE(contiguous(objects, 0, 33));
    destroy(objects);
}

TEST(PooledObject, ReleasingFreeMemoryKeepsBlocksThatStillHoldObjects) {
    std::vector<SixtyFour*> objects = make<SixtyFour>(33);
    SixtyFour* survivor = objects[5];
    std::fill(std::begin(survivor->bytes), std::end(survivor->bytes), 0xA5);
    objects.erase(objects.begin() + 5);
    destroy(objects);
    PooledObject::releaseFreeMemory();

    objects = make<SixtyFour>(200);
    for (SixtyFour* object : objects) {
        ASSERT_NE(object, survivor) << "a live object's chunk was handed out again";
        std::fill(std::begin(object->bytes), std::end(object->bytes), 0);
    }
    EXPECT_TRUE(std::all_of(std::begin(survivor->bytes), std::end(survivor->bytes),
                            [](unsigned char b) { return b == 0xA5; }));
    destroy(objects);
    delete survivor;
}

// The figures a long run watches for growth: blocks and their bytes, of the unlocked and
// the locked pools alike, rising as pools grow and falling when free blocks go back.
TEST(PooledObject, UsageCountsTheBlocksAndBytesOfEveryPool) {
    using Unlocked = Sized<72>;
    using Locked = Sized<80, LockedPooledObject>;
    // Free blocks other tests left behind would go back with this test's.
    PooledObject::releaseFreeMemory();
    PooledObject::releaseFreeMemoryLocked();
    const PooledObject::Usage before = PooledObject::usage();
    std::vector<Unlocked*> unlocked = make<Unlocked>(33);
    std::vector<Locked*> locked = make<Locked>(1);
    const PooledObject::Usage grown = PooledObject::usage();
    EXPECT_EQ(grown.blocks, before.blocks + 3) << "two unlocked blocks (32 and 64 chunks) and a locked one";
    EXPECT_GE(grown.bytes, before.bytes + (32 + 64) * sizeof(Unlocked) + 32 * sizeof(Locked));
    destroy(unlocked);
    destroy(locked);
    PooledObject::releaseFreeMemory();
    PooledObject::releaseFreeMemoryLocked();
    EXPECT_EQ(PooledObject::usage().blocks, before.blocks);
    EXPECT_EQ(PooledObject::usage().bytes, before.bytes);
}

struct Node : PooledObjectArrays {
    Node() : value(7) {}
    virtual ~Node() = default;  // a destructor makes the array carry its length
    int value;
};

TEST(PooledObjectArrays, ArraysComeFromThePoolOfTheirByteSizeAndAreReused) {
    Node* nodes = new Node[12];
    EXPECT_EQ(nodes[11].value, 7);
    // Kept as a number: the freed pointer itself may not be used any more.
    const std::uintptr_t firstAddress = reinterpret_cast<std::uintptr_t>(nodes);
    delete[] nodes;
    nodes = new Node[12];
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(nodes), firstAddress);
    delete[] nodes;
}

struct Shared : LockedPooledObject {
    int owner = 0;
    int serial = 0;
};

TEST(LockedPooledObject, ThreadsAllocateAndFreeAtTheSameTimeWithoutSharingAChunk) {
    constexpr int threads = 4;
    constexpr int rounds = 200;
    constexpr int live = 50;
    std::vector<std::thread> workers;
    std::vector<bool> intact(threads, true);
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([&, t] {
            for (int round = 0; round < rounds; ++round) {
                std::vector<std::unique_ptr<Shared>> objects;
                for (int i = 0; i < live; ++i) {
                    objects.emplace_back(new Shared);
                    objects.back()->owner = t;
                    objects.back()->serial = i;
                }
                for (int i = 0; i < live; ++i) {
                    if (objects[i]->owner != t || objects[i]->serial != i) intact[t] = false;
                }
            }
        });
    }
    for (std::thread& worker : workers) worker.join();
    for (int t = 0; t < threads; ++t) EXPECT_TRUE(intact[t]) << "thread " << t;
    PooledObject::releaseFreeMemoryLocked();
    std::unique_ptr<Shared> after(new Shared);
    EXPECT_EQ(after->owner, 0);
}

} // namespace
} // namespace zor
