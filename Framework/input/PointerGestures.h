#pragma once
// Pointer gestures recognised from the positions the poll reports once per update step:
// pointer down, pointer released, tap, hold, drag and flick, plus the list of active
// contacts. Positions are design units of the last viewport; times are seconds of the
// input clock. The records are read directly by menus and screens.

#include "Framework/core/math/Vector.h"

#include <cstdint>
#include <vector>

namespace zor {

struct Contact {
    std::uint8_t isNew = 0;
    float age = 0.0f;
    fpVector2 position;
};

class PointerGestures {
public:
    static constexpr float TapTime = 0.2f;
    static constexpr float TapDistance = 6.0f; // also the hold distance
    static constexpr float FlickTime = 0.25f;
    static constexpr float ContactLifetime = 2.0f;

    struct Spot {
        bool active = false;
        fpVector2 position;
    };
    struct Drag {
        bool active = false;
        fpVector2 position;
        fpVector2 delta; // movement in this step; zero in steps without movement
        fpVector2 start;
    };
    struct Flick {
        bool active = false;
        fpVector2 start;
        fpVector2 vector; // from the press to the last position while down
    };
    struct Down {
        bool active = false;
        bool wentDown = false; // only in the step of the press
        fpVector2 position;
    };

    std::vector<Contact> contacts;
    Spot tap;
    Spot hold;
    Drag drag;
    Flick flick;
    Down down;
    Spot release;

    // Forgets every tracker, the latch and the down and hold records (start-up).
    void reset();

    // The pointer went down since the previous step.
    void pointerPressed(const std::vector<fpVector2>& positions, float clock);
    // The pointer was down in the previous step and still is.
    void pointerMoved(const std::vector<fpVector2>& positions, float clock);
    // The pointer was down in the previous step and is up now; the list holds the last
    // position seen while it was down.
    void pointerReleased(const std::vector<fpVector2>& positions, float clock);

    // Clears the one-step records and ages the contacts; `clock` is already advanced by `dt`.
    void endStep(float clock, float dt);

    // Any of tap, hold, drag, flick, pointer down or pointer released is set.
    bool anyGesture() const;

private:
    void removeNearestContact(const fpVector2& position);

    struct TapTracking {
        bool armed = false;
        float startTime = 0.0f;
        fpVector2 start;
        float largestDistance = 0.0f;
    } m_tapTracking;
    struct FlickTracking {
        bool armed = false;
        float startTime = 0.0f;
        fpVector2 start;
    } m_flickTracking;
    struct DragTracking {
        bool active = false;
        fpVector2 start;
        fpVector2 last;
    } m_dragTracking;
    bool m_latched = false;
    fpVector2 m_lastDownPosition;
};

} // namespace zor
