#pragma once
// The port of the world's sound layer: it connects to the World's event lists itself and
// plays the World's sound requests every step. Made on the worker thread like the
// Visualizer; it touches the sound service only from update, on the main thread.

namespace zor {

struct UpdateRecord;

class Audiolizer {
public:
    virtual ~Audiolizer() = default;

    virtual void update(const UpdateRecord& record) = 0;
};

} // namespace zor
