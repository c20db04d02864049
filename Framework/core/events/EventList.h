#pragma once
// Signals: an owner fires its EventList, every connected listener is called,
// newest first. Listeners and lists may die in any order: a listener node is
// shared by the list and by the connections that hold it, and a signed hold
// count decides who frees it.
//
// Main thread only; nothing here is locked.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <tuple>
#include <type_traits>
#include <utility>

namespace zor {

// One connected callback. count > 0: connected, held by that many holders
// (connections, plus one while a firing calls it). count == 0: dead, the list
// frees it at its next firing. count < 0: the list is gone and |count| holders
// remain; the last release frees it.
struct EventListener {
    EventListener* next = nullptr;
    int32_t count = 0;

    EventListener() = default;
    EventListener(const EventListener&) = delete;
    EventListener& operator=(const EventListener&) = delete;
    virtual ~EventListener() = default;
};

// A counted hold on one listener. Keep it as long as you want to be called;
// destroying or releasing it disconnects. A copy holds the listener too,
// unless the listener is no longer connected: then the copy is empty.
class EventConnection {
public:
    EventConnection() = default;
    EventConnection(const EventConnection& other);
    EventConnection(EventConnection&& other) noexcept;
    EventConnection& operator=(const EventConnection& other);
    EventConnection& operator=(EventConnection&& other) noexcept;
    ~EventConnection() { release(); }

    // Drops this handle's hold and leaves the handle empty, so a later
    // release or the destructor cannot drop it a second time.
    void release();

    explicit operator bool() const { return m_node != nullptr; }

private:
    friend class EventListBase;
    explicit EventConnection(EventListener* node);

    EventListener* m_node = nullptr;
};

// The list without its argument types: linking, firing walk and teardown.
class EventListBase {
public:
    EventListBase() = default;
    EventListBase(const EventListBase&) = delete;
    EventListBase& operator=(const EventListBase&) = delete;
    ~EventListBase() { disconnectAll(); }

    // Empties the list. Held listeners are handed to their holders; the list
    // may be destroyed from inside one of its own callbacks.
    void disconnectAll();

    bool empty() const { return m_head == nullptr; }
    // The listeners linked now, dead ones the next firing frees included.
    std::size_t linkedCount() const;

protected:
    using Invoke = void (*)(EventListener& node, const void* arguments);

    EventConnection link(EventListener* node);
    void fireNodes(Invoke invoke, const void* arguments);

private:
    EventListener* m_head = nullptr;
};

// A list whose callbacks take Args. connect(user, callback) accepts a member
// function of the user's class or any callable taking (user, Args...).
template <class... Args>
class EventList : public EventListBase {
public:
    template <class User, class Callback>
    EventConnection connect(User* user, Callback callback) {
        static_assert(std::is_invocable_v<Callback&, User*, const Args&...>,
                      "callback must be callable with (user, list arguments)");
        return link(new Bound<User, Callback>(user, std::move(callback)));
    }

    // Each listener gets its own copy of by-value arguments.
    void fire(const Args&... args) {
        const std::tuple<const Args&...> packed(args...);
        fireNodes(&invokeNode, &packed);
    }

    void fireNoArgs() {
        static_assert(sizeof...(Args) == 0, "fireNoArgs is for lists without arguments");
        fire();
    }

private:
    struct Listener : EventListener {
        virtual void call(const Args&... args) = 0;
    };

    template <class User, class Callback>
    struct Bound final : Listener {
        Bound(User* u, Callback c) : user(u), callback(std::move(c)) {}
        void call(const Args&... args) override { std::invoke(callback, user, args...); }

        User* user;
        Callback callback;
    };

    static void invokeNode(EventListener& node, const void* arguments) {
        std::apply([&node](const Args&... args) { static_cast<Listener&>(node).call(args...); },
                   *static_cast<const std::tuple<const Args&...>*>(arguments));
    }
};

} // namespace zor
