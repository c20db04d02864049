#include "Framework/input/PointerGestures.h"

#include <algorithm>

namespace zor {
namespace {

float distance(const fpVector2& a, const fpVector2& b) {
    return (a - b).length();
}

// The first of equally near contacts wins.
std::vector<Contact>::iterator nearestContact(std::vector<Contact>& contacts, const fpVector2& position) {
    auto nearest = contacts.end();
    float best = 0.0f;
    for (auto it = contacts.begin(); it != contacts.end(); ++it) {
        const float d = distance(it->position, position);
        if (nearest == contacts.end() || d < best) {
            nearest = it;
            best = d;
        }
    }
    return nearest;
}

} // namespace

void PointerGestures::reset() {
    m_tapTracking = {};
    m_flickTracking = {};
    m_dragTracking = {};
    m_latched = false;
    m_lastDownPosition = fpVector2{};
    down = {};
    hold = {};
}

void PointerGestures::pointerPressed(const std::vector<fpVector2>& positions, float clock) {
    if (positions.empty()) return;
    const fpVector2 p = positions.front();
    down.wentDown = !down.active;
    down.active = true;
    down.position = p;
    m_lastDownPosition = p;
    m_latched = true;
    if (!m_flickTracking.armed) m_flickTracking = {true, clock, p};
    if (!m_tapTracking.armed) m_tapTracking = {true, clock, p, 0.0f};
    for (const fpVector2& position : positions) contacts.push_back({1, 0.0f, position});
}

void PointerGestures::pointerMoved(const std::vector<fpVector2>& positions, float /*clock*/) {
    if (positions.empty()) return;
    const fpVector2 p = positions.front();
    if (m_tapTracking.armed)
        m_tapTracking.largestDistance = std::max(m_tapTracking.largestDistance, distance(p, m_tapTracking.start));
    down.wentDown = !down.active;
    down.active = true;
    down.position = p;
    m_lastDownPosition = p;
    if (!m_dragTracking.active) {
        m_dragTracking = {true, p, p};
    } else {
        drag.active = true;
        drag.position = p;
        drag.delta = p - m_dragTracking.last;
        drag.start = m_dragTracking.start;
        m_dragTracking.last = p;
    }
    for (const fpVector2& position : positions) {
        auto nearest = nearestContact(contacts, position);
        if (nearest == contacts.end()) continue;
        nearest->position = position;
        nearest->age = 0.0f;
    }
}

void PointerGestures::pointerReleased(const std::vector<fpVector2>& positions, float clock) {
    if (m_latched) {
        m_latched = false;
        release = {true, m_lastDownPosition};
    }
    if (m_flickTracking.armed) {
        // Only the elapsed time is compared: the record holds a distance, never a speed,
        // so a press and release in one instant still gives a finite vector.
        if (clock - m_flickTracking.startTime < FlickTime) {
            flick.active = true;
            flick.start = m_flickTracking.start;
            flick.vector = m_lastDownPosition - m_flickTracking.start;
        }
        m_flickTracking.armed = false;
    }
    tap.active = false;
    if (m_tapTracking.armed) {
        if (positions.size() == 1 && clock - m_tapTracking.startTime < TapTime &&
            m_tapTracking.largestDistance <= TapDistance) {
            tap = {true, positions.front()};
        }
        m_tapTracking.armed = false;
    }
    m_dragTracking.active = false;
    drag.active = false;
    for (const fpVector2& position : positions) removeNearestContact(position);
}

void PointerGestures::endStep(float clock, float dt) {
    tap.active = false;
    hold.active = false;
    flick.active = false;
    release.active = false;

    for (Contact& contact : contacts) {
        contact.isNew = 0;
        contact.age += dt;
    }
    contacts.erase(std::remove_if(contacts.begin(), contacts.end(),
                                  [](const Contact& c) { return c.age > ContactLifetime; }),
                   contacts.end());

    if (drag.active) drag.delta = fpVector2{};

    if (m_tapTracking.armed && clock - m_tapTracking.startTime > TapTime &&
        m_tapTracking.largestDistance <= TapDistance) {
        hold = {true, m_tapTracking.start};
    }

    if (!m_latched) {
        down.active = false;
    } else {
        down.wentDown = !down.active;
        down.active = true;
        down.position = m_lastDownPosition;
    }
}

bool PointerGestures::anyGesture() const {
    return tap.active || hold.active || drag.active || flick.active || down.active || release.active;
}

void PointerGestures::removeNearestContact(const fpVector2& position) {
    auto nearest = nearestContact(contacts, position);
    if (nearest != contacts.end()) contacts.erase(nearest);
}

} // namespace zor
