#include "tests/support/game/InlineWorkQueue.h"

namespace zor::test {

void InlineWorkQueue::post(Job job) {
    if (m_runAtPost)
        job();
    else
        m_pending.push_back(std::move(job));
}

void InlineWorkQueue::drain() {
    for (std::size_t count = m_pending.size(); count > 0; --count) {
        Job job = std::move(m_pending.front());
        m_pending.pop_front();
        job();
    }
}

} // namespace zor::test
