#pragma once
// One global instance per engine service. The service is created and deleted by
// start-up and shutdown; while it lives, instance() reaches it from anywhere.

#include <cassert>

namespace zor {

template <class T>
class AbstractSingleton {
public:
    AbstractSingleton(const AbstractSingleton&) = delete;
    AbstractSingleton& operator=(const AbstractSingleton&) = delete;

    static bool exists() { return s_instance != nullptr; }
    static T* instancePointer() { return static_cast<T*>(s_instance); }
    static T& instance() {
        assert(s_instance && "singleton used before it was created");
        return *instancePointer();
    }

protected:
    AbstractSingleton() {
        assert(!s_instance && "singleton created twice");
        s_instance = this;
    }
    virtual ~AbstractSingleton() { s_instance = nullptr; }

private:
    // Kept as the base: while the base constructor runs the object is not yet a T.
    static inline AbstractSingleton* s_instance = nullptr;
};

} // namespace zor
