#include "Framework/core/memory/PooledObject.h"

#include "Framework/core/threads/Mutex.h"

#include <boost/pool/pool.hpp>

#include <algorithm>
#include <functional>
#include <memory>
#include <new>
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

// A pool per object size. Registries are made on first use and never destroyed, so
// objects deleted while the program's statics go away still find their pool.
struct Registry {
    Registry() : pools(11) { pools.max_load_factor(1.0f); }

    Pool& poolFor(std::size_t size) {
        std::unique_ptr<Pool>& pool = pools[size];
        if (!pool) pool = std::make_unique<Pool>(size);
        return *pool;
    }

    Pool* findPool(std::size_t size) {
        const auto found = pools.find(size);
        return found == pools.end() ? nullptr : found->second.get();
    }

    std::unordered_map<std::size_t, std::unique_ptr<Pool>> pools;
};

Registry& unlockedRegistry() {
    static Registry* registry = new Registry;
    return *registry;
}

struct LockedPool {
    explicit LockedPool(std::size_t size) : pool(size) {}
    Mutex mutex;
    Pool pool;
};

// The map's lock is held only to find or make a pool; each pool has its own lock, so
// threads using different sizes do not wait for each other's allocations.
struct LockedRegistry {
    LockedRegistry() : pools(11) { pools.max_load_factor(1.0f); }

    LockedPool& poolFor(std::size_t size) {
        Mutex::ScopedLock lock(mutex);
        std::unique_ptr<LockedPool>& pool = pools[size];
        if (!pool) pool = std::make_unique<LockedPool>(size);
        return *pool;
    }

    LockedPool* findPool(std::size_t size) {
        Mutex::ScopedLock lock(mutex);
        const auto found = pools.find(size);
        return found == pools.end() ? nullptr : found->second.get();
    }

    Mutex mutex;
    std::unordered_map<std::size_t, std::unique_ptr<LockedPool>> pools;
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
    LockedRegistry& registry = lockedRegistry();
    Mutex::ScopedLock lock(registry.mutex);
    for (auto& entry : registry.pools) {
        Mutex::ScopedLock poolLock(entry.second->mutex);
        entry.second->pool.releaseFreeBlocks();
    }
}

void* PooledObjectArrays::operator new[](std::size_t size) { return PooledObject::operator new(size); }

void PooledObjectArrays::operator delete[](void* memory, std::size_t size) {
    PooledObject::operator delete(memory, size);
}

void* LockedPooledObject::operator new(std::size_t size) {
    LockedPool& pool = lockedRegistry().poolFor(size);
    Mutex::ScopedLock lock(pool.mutex);
    return allocateFrom(pool.pool);
}

void LockedPooledObject::operator delete(void* memory, std::size_t size) {
    if (!memory) return;
    if (LockedPool* pool = lockedRegistry().findPool(size)) {
        Mutex::ScopedLock lock(pool->mutex);
        pool->pool.free(memory);
    }
}

} // namespace zor
