#include "Framework/core/memory/PooledObject.h"

#include "Framework/core/threads/Mutex.h"

#include <boost/pool/pool.hpp>

#include <algorithm>
#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <new>
#include <thread>
#include <unordered_map>
#include <vector>

namespace zor {
namespace {

constexpr std::size_t firstBlockChunks = 32;

// A boost pool whose free memory can really be released. Allocation and release use the
// pool's fast unordered free list, but release_memory only recognises a block as free
// when the block list and the free list are both in address order; on the unordered
// lists it keeps blocks (and may lose free chunks). So the lists are put in order first.
class Pool : public boost::pool<boost::default_user_allocator_new_delete> {
public:
    explicit Pool(size_type chunkSize) : pool(chunkSize, firstBlockChunks) {}

    void releaseFreeBlocks() {
        orderBlocks();
        orderFreeList();
        release_memory();
    }

    void addUsage(PooledObject::Usage& usage) {
        for (Block block = list; block.valid(); block = block.next()) {
            ++usage.blocks;
            usage.bytes += block.total_size();
        }
    }

private:
    using Block = boost::details::PODptr<size_type>;

    void orderBlocks() {
        std::vector<Block> blocks;
        for (Block block = list; block.valid(); block = block.next()) blocks.push_back(block);
        std::sort(blocks.begin(), blocks.end(), [](const Block& a, const Block& b) {
            return std::less<char*>()(a.begin(), b.begin());
        });
        Block next;
        for (auto block = blocks.rbegin(); block != blocks.rend(); ++block) {
            block->next(next);
            next = *block;
        }
        list = next;
    }

    void orderFreeList() {
        std::vector<void*> chunks;
        for (void* chunk = first; chunk; chunk = nextof(chunk)) chunks.push_back(chunk);
        std::sort(chunks.begin(), chunks.end(), std::less<void*>());
        void* next = nullptr;
        for (auto chunk = chunks.rbegin(); chunk != chunks.rend(); ++chunk) {
            nextof(*chunk) = next;
            next = *chunk;
        }
        first = next;
    }
};

// Objects up to this size find their pool in a table indexed by the size: a class's pool
// is looked up in the map once, on its first allocation. Larger blocks (arrays of nodes)
// go through the map each time.
constexpr std::size_t DirectSizes = 1024;

// A pool per object size. Registries are made on first use and never destroyed, so
// objects deleted while the program's statics go away still find their pool.
struct Registry {
    Registry() : pools(11) { pools.max_load_factor(1.0f); }

    Pool& poolFor(std::size_t size) {
        if (size < DirectSizes && bySize[size]) return *bySize[size];
        std::unique_ptr<Pool>& pool = pools[size];
        if (!pool) pool = std::make_unique<Pool>(size);
        if (size < DirectSizes) bySize[size] = pool.get();
        return *pool;
    }

    Pool* findPool(std::size_t size) {
        if (size < DirectSizes) return bySize[size];
        const auto found = pools.find(size);
        return found == pools.end() ? nullptr : found->second.get();
    }

    std::unordered_map<std::size_t, std::unique_ptr<Pool>> pools;
    std::array<Pool*, DirectSizes> bySize{};
};

Registry& unlockedRegistry() {
    static Registry* registry = new Registry;
    return *registry;
}

// The lock of one locked pool, held for the few instructions of a free-list push or pop:
// one atomic exchange takes it, a store gives it back. A thread that finds it taken spins
// briefly, then yields.
class PoolLock {
public:
    void lock() {
        for (int spins = 0; m_taken.exchange(true, std::memory_order_acquire); ++spins) {
            while (m_taken.load(std::memory_order_relaxed)) {
                if (spins++ > 64) std::this_thread::yield();
            }
        }
    }
    void unlock() { m_taken.store(false, std::memory_order_release); }

private:
    std::atomic<bool> m_taken{false};
};

struct LockedPool {
    LockedPool(std::size_t size, std::size_t number) : index(number), pool(size) {}
    const std::size_t index;  // the order in which the pools were made
    PoolLock lock;
    Pool pool;
};

// The map's Mutex is held only to make a pool or to find a large size's; the table of
// small sizes is read without it. Each pool has its own lock, so threads using different
// sizes do not wait for each other's allocations.
struct LockedRegistry {
    LockedRegistry() : pools(11) { pools.max_load_factor(1.0f); }

    LockedPool& poolFor(std::size_t size) {
        if (size < DirectSizes) {
            if (LockedPool* known = bySize[size].load(std::memory_order_acquire)) return *known;
        }
        Mutex::ScopedLock lock(mutex);
        std::unique_ptr<LockedPool>& pool = pools[size];
        if (!pool) pool = std::make_unique<LockedPool>(size, pools.size() - 1);
        if (size < DirectSizes) bySize[size].store(pool.get(), std::memory_order_release);
        return *pool;
    }

    LockedPool* findPool(std::size_t size) {
        if (size < DirectSizes) return bySize[size].load(std::memory_order_acquire);
        Mutex::ScopedLock lock(mutex);
        const auto found = pools.find(size);
        return found == pools.end() ? nullptr : found->second.get();
    }

    Mutex mutex;
    std::unordered_map<std::size_t, std::unique_ptr<LockedPool>> pools;
    std::array<std::atomic<LockedPool*>, DirectSizes> bySize{};
};

LockedRegistry& lockedRegistry() {
    static LockedRegistry* registry = new LockedRegistry;
    return *registry;
}

void* allocateFrom(Pool& pool) {
    void* memory = pool.malloc();
    if (!memory) throw std::bad_alloc();
    return memory;
}

// Chunks each thread keeps back from the first locked pools, so that most allocations and
// frees take no lock at all: a thread refills an empty shelf with half a shelf's chunks
// under the pool's lock, and gives half back when its shelf is full. A thread's chunks go
// back to their pools when it ends.
constexpr std::size_t ShelfChunks = 32;
constexpr std::size_t ShelvedPools = 32;

class ThreadShelves {
public:
    ~ThreadShelves() {
        giveAllBack();
        s_gone = true;
    }

    // Null when the thread has no shelf for the pool (or no more shelves, while it ends).
    static ThreadShelves* of(const LockedPool& pool) {
        if (s_gone || pool.index >= ShelvedPools) return nullptr;
        return &s_shelves;
    }

    void* take(LockedPool& pool) {
        Shelf& shelf = m_shelves[pool.index];
        if (shelf.count == 0) {
            shelf.pool = &pool;
            std::lock_guard<PoolLock> lock(pool.lock);
            shelf.chunks[shelf.count++] = allocateFrom(pool.pool);
            while (shelf.count < ShelfChunks / 2) {
                void* chunk = pool.pool.malloc();
                if (!chunk) break;
                shelf.chunks[shelf.count++] = chunk;
            }
        }
        return shelf.chunks[--shelf.count];
    }

    void put(LockedPool& pool, void* chunk) {
        Shelf& shelf = m_shelves[pool.index];
        if (shelf.count == ShelfChunks) giveBack(shelf, ShelfChunks / 2);
        shelf.pool = &pool;
        shelf.chunks[shelf.count++] = chunk;
    }

    // Before blocks are released: the chunks the calling thread holds count as free again.
    static void giveBackMine() {
        if (!s_gone) s_shelves.giveAllBack();
    }

private:
    struct Shelf {
        LockedPool* pool = nullptr;
        std::size_t count = 0;
        void* chunks[ShelfChunks];
    };

    void giveAllBack() {
        for (Shelf& shelf : m_shelves) giveBack(shelf, shelf.count);
    }

    static void giveBack(Shelf& shelf, std::size_t count) {
        if (count == 0) return;
        std::lock_guard<PoolLock> lock(shelf.pool->lock);
        for (std::size_t i = 0; i < count; ++i) shelf.pool->pool.free(shelf.chunks[--shelf.count]);
    }

    std::array<Shelf, ShelvedPools> m_shelves{};
    static thread_local ThreadShelves s_shelves;
    static thread_local bool s_gone;  // the thread's shelves are gone: frees go to the pool
};

thread_local ThreadShelves ThreadShelves::s_shelves;
thread_local bool ThreadShelves::s_gone = false;

} // namespace

void* PooledObject::operator new(std::size_t size) { return allocateFrom(unlockedRegistry().poolFor(size)); }

void PooledObject::operator delete(void* memory, std::size_t size) {
    if (!memory) return;
    if (Pool* pool = unlockedRegistry().findPool(size)) pool->free(memory);
}

void PooledObject::releaseFreeMemory() {
    for (auto& entry : unlockedRegistry().pools) {
        entry.second->releaseFreeBlocks();
    }
}

void PooledObject::releaseFreeMemoryLocked() {
    // The calling thread's shelves go back first; other threads keep theirs (at most a
    // shelf per pool), so the blocks holding those chunks stay.
    LockedRegistry& registry = lockedRegistry();
    ThreadShelves::giveBackMine();
    Mutex::ScopedLock lock(registry.mutex);
    for (auto& entry : registry.pools) {
        std::lock_guard<PoolLock> poolLock(entry.second->lock);
        entry.second->pool.releaseFreeBlocks();
    }
}

PooledObject::Usage PooledObject::usage() {
    Usage usage;
    for (auto& entry : unlockedRegistry().pools) entry.second->addUsage(usage);
    LockedRegistry& registry = lockedRegistry();
    Mutex::ScopedLock lock(registry.mutex);
    for (auto& entry : registry.pools) {
        std::lock_guard<PoolLock> poolLock(entry.second->lock);
        entry.second->pool.addUsage(usage);
    }
    return usage;
}

void* PooledObjectArrays::operator new[](std::size_t size) { return PooledObject::operator new(size); }

void PooledObjectArrays::operator delete[](void* memory, std::size_t size) {
    PooledObject::operator delete(memory, size);
}

void* LockedPooledObject::operator new(std::size_t size) {
    LockedPool& pool = lockedRegistry().poolFor(size);
    if (ThreadShelves* shelves = ThreadShelves::of(pool)) return shelves->take(pool);
    std::lock_guard<PoolLock> lock(pool.lock);
    return allocateFrom(pool.pool);
}

void LockedPooledObject::operator delete(void* memory, std::size_t size) {
    if (!memory) return;
    LockedPool* pool = lockedRegistry().findPool(size);
    if (!pool) return;
    if (ThreadShelves* shelves = ThreadShelves::of(*pool)) return shelves->put(*pool, memory);
    std::lock_guard<PoolLock> lock(pool->lock);
    pool->pool.free(memory);
}

} // namespace zor
