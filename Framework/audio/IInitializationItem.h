#pragma once
// A service that can initialise in steps: start, then step until done (reporting its
// progress from 0 to 1), then finish.

namespace zor {

class IInitializationItem {
public:
    virtual ~IInitializationItem() = default;

    virtual void start() = 0;
    virtual void step() = 0;
    virtual bool isDone() const = 0;
    virtual float progress() const = 0;
    virtual void finish() = 0;
};

} // namespace zor
