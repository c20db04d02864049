#include "game/simulation/MainThreadWork.h"

#include <utility>

namespace zor {

void MainThreadWork::run(Job job) {
    if (m_collecting)
        m_jobs.push_back(std::move(job));
    else
        job();
}

void MainThreadWork::runCollected() {
    m_collecting = false;
    std::vector<Job> jobs;
    jobs.swap(m_jobs);
    for (Job& job : jobs) job();
}

} // namespace zor
