#include "Framework/core/events/EventList.h"

#include <cassert>

namespace zor {

namespace {

// Drops one hold by the rule of the hold count: a connected node may become
// dead (the list frees it later); an orphaned node is freed by its last holder.
void dropHold(EventListener* node) {
    if (node->count > 0) {
        --node->count;
    } else if (node->count < 0 && ++node->count == 0) {
        delete node;
    }
}

EventListener* holdIfConnected(EventListener* node) {
    if (node == nullptr || node->count <= 0)
        return nullptr;
    ++node->count;
    return node;
}

} // namespace

EventConnection::EventConnection(EventListener* node) : m_node(node) {
    ++m_node->count;
}

EventConnection::EventConnection(const EventConnection& other)
    : m_node(holdIfConnected(other.m_node)) {}

EventConnection::EventConnection(EventConnection&& other) noexcept
    : m_node(std::exchange(other.m_node, nullptr)) {}

EventConnection& EventConnection::operator=(const EventConnection& other) {
    if (this != &other) {
        EventListener* held = holdIfConnected(other.m_node);
        release();
        m_node = held;
    }
    return *this;
}

EventConnection& EventConnection::operator=(EventConnection&& other) noexcept {
    if (this != &other) {
        release();
        m_node = std::exchange(other.m_node, nullptr);
    }
    return *this;
}

void EventConnection::release() {
    if (m_node != nullptr)
        dropHold(std::exchange(m_node, nullptr));
}

EventConnection EventListBase::link(EventListener* node) {
    node->next = m_head;
    m_head = node;
    return EventConnection(node);
}

std::size_t EventListBase::linkedCount() const {
    std::size_t count = 0;
    for (const EventListener* node = m_head; node != nullptr; node = node->next) ++count;
    return count;
}

void EventListBase::disconnectAll() {
    while (m_head != nullptr) {
        EventListener* node = m_head;
        m_head = node->next;
        node->next = nullptr;
        if (node->count == 0)
            delete node;
        else
            node->count = -node->count;
    }
}

void EventListBase::fireNodes(Invoke invoke, const void* arguments) {
    while (m_head != nullptr && m_head->count == 0) {
        EventListener* dead = m_head;
        m_head = dead->next;
        delete dead;
    }

    EventListener* previous = nullptr;
    EventListener* node = m_head;
    while (node != nullptr) {
        if (node->count == 0) {
            // Only the head can lack a previous node, and the head was pruned
            // above; dead nodes found later always follow a live one.
            assert(previous != nullptr);
            previous->next = node->next;
            delete node;
            node = previous->next;
            continue;
        }

        ++node->count; // the firing's own hold keeps the node alive during the call
        try {
            invoke(*node, arguments);
        } catch (...) {
            dropHold(node);
            throw;
        }

        if (node->count <= 0) {
            // The list was emptied during the call (its owner may be gone):
            // touch nothing but this node.
            dropHold(node);
            return;
        }
        EventListener* next = node->next; // read after the call: it may have changed
        --node->count;
        previous = node;
        node = next;
    }
}

} // namespace zor
