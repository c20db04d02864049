#pragma once
// Listeners for the store service's answers. A StoreCallback is registered for its
// message's id while it lives; a StoreCallResult waits for the answer to one call at a time.
// Both run on the main thread from IStoreService::runCallbacks.

#include "Framework/store/IStoreService.h"

#include <functional>
#include <utility>

namespace zor {

class StoreCallbackBase {
public:
    StoreCallbackBase() = default;
    StoreCallbackBase(const StoreCallbackBase&) = delete;
    StoreCallbackBase& operator=(const StoreCallbackBase&) = delete;
    virtual ~StoreCallbackBase() = default;

    virtual int callbackId() const = 0;
    // `message` points to the message type of callbackId().
    virtual void run(const void* message) = 0;
};

class StoreCallResultBase {
public:
    StoreCallResultBase() = default;
    StoreCallResultBase(const StoreCallResultBase&) = delete;
    StoreCallResultBase& operator=(const StoreCallResultBase&) = delete;
    virtual ~StoreCallResultBase() = default;

    virtual int callbackId() const = 0;
    // `message` points to the message type of callbackId(), zeroed when ioFailure tells
    // that the answer was lost on the way.
    virtual void run(const void* message, bool ioFailure) = 0;
};

template <class Message>
class StoreCallback final : public StoreCallbackBase {
public:
    using Handler = std::function<void(const Message&)>;

    StoreCallback(IStoreService& service, Handler handler) : m_service(service), m_handler(std::move(handler)) {
        m_service.registerCallback(*this);
    }
    ~StoreCallback() override { m_service.unregisterCallback(*this); }

    int callbackId() const override { return Message::CallbackId; }
    void run(const void* message) override { m_handler(*static_cast<const Message*>(message)); }

private:
    IStoreService& m_service;
    Handler m_handler;
};

template <class Message>
class StoreCallResult final : public StoreCallResultBase {
public:
    using Handler = std::function<void(const Message& message, bool ioFailure)>;

    StoreCallResult(IStoreService& service, Handler handler) : m_service(service), m_handler(std::move(handler)) {}
    ~StoreCallResult() override { cancel(); }

    // Waits for the answer to `call` instead of any earlier one; 0 waits for nothing.
    void set(StoreCall call) {
        cancel();
        if (call == 0) return;
        m_call = call;
        m_service.registerCallResult(*this, call);
    }
    void cancel() {
        if (m_call == 0) return;
        m_service.unregisterCallResult(*this, m_call);
        m_call = 0;
    }
    bool pending() const { return m_call != 0; }

    int callbackId() const override { return Message::CallbackId; }
    void run(const void* message, bool ioFailure) override {
        m_call = 0;
        m_handler(*static_cast<const Message*>(message), ioFailure);
    }

private:
    IStoreService& m_service;
    Handler m_handler;
    StoreCall m_call = 0;
};

} // namespace zor
