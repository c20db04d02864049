#pragma once
// The backlog of the capture writer: images read back but not yet written (or dropped).
// Each image holds one NrJobsCounter for as long as it exists, so the main thread can
// read how far the writer has fallen behind while the worker releases images.

#include <atomic>
#include <cstdint>
#include <memory>

namespace zor {

struct CaptureBacklog {
    std::atomic<std::int32_t> images{0};
    std::atomic<std::uint64_t> bytes{0};
};

class NrJobsCounter {
public:
    NrJobsCounter(std::shared_ptr<CaptureBacklog> backlog, std::uint64_t bytes)
        : m_backlog(std::move(backlog)), m_bytes(bytes) {
        m_backlog->images.fetch_add(1);
        m_backlog->bytes.fetch_add(m_bytes);
    }
    ~NrJobsCounter() {
        m_backlog->images.fetch_sub(1);
        m_backlog->bytes.fetch_sub(m_bytes);
    }
    NrJobsCounter(const NrJobsCounter&) = delete;
    NrJobsCounter& operator=(const NrJobsCounter&) = delete;

private:
    std::shared_ptr<CaptureBacklog> m_backlog;
    std::uint64_t m_bytes;
};

} // namespace zor
