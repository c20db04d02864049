#pragma once
// Per-size object pools. Classes whose objects are made and destroyed in large numbers
// derive from one of these bases; their objects come from a pool kept for their exact
// size (first block 32 chunks, each further block twice the previous one) and go back
// to its free list, never to the heap one by one.

#include <cstddef>

namespace zor {

// The unlocked pools: each pooled class is used by one thread at a time.
class PooledObject {
public:
    static void* operator new(std::size_t size);
    static void operator delete(void* memory, std::size_t size);

    // Gives every block whose chunks are all free back to the heap; the next block of
    // such a pool has 32 chunks again. Between game sessions.
    static void releaseFreeMemory();
    // The same for the pools of LockedPooledObject, after the calling thread's shelves
    // went back (other threads' shelves keep their blocks).
    static void releaseFreeMemoryLocked();

    // The blocks every pool holds now, the locked ones included, and their bytes: flat
    // figures over a long run mean the pools do not grow.
    struct Usage {
        std::size_t blocks = 0;
        std::size_t bytes = 0;
    };
    static Usage usage();

protected:
    PooledObject() = default;
    ~PooledObject() = default;
};

// Arrays of a pooled class come from the pool of the array's byte size.
class PooledObjectArrays : public PooledObject {
public:
    using PooledObject::operator new;
    using PooledObject::operator delete;
    static void* operator new[](std::size_t size);
    static void operator delete[](void* memory, std::size_t size);

protected:
    PooledObjectArrays() = default;
    ~PooledObjectArrays() = default;
};

// The locked pools, for classes whose objects are made and freed on several threads:
// the registry and each pool have their own lock. Each thread keeps a shelf of free chunks
// per pool, so most allocations and frees take no lock; a chunk freed on one thread may
// serve the next allocation on that thread. A thread's shelves go back to the pools when
// it ends, or when it calls releaseFreeMemoryLocked.
class LockedPooledObject {
public:
    static void* operator new(std::size_t size);
    static void operator delete(void* memory, std::size_t size);

protected:
    LockedPooledObject() = default;
    ~LockedPooledObject() = default;
};

} // namespace zor
