#pragma once
// An IRandomizer that passes every draw to another one and writes each call, with its
// arguments, to a log: tests read which draws a step made and in which order.

#include <cstdint>
#include <string>
#include <vector>

#include "Framework/core/math/IRandomizer.h"

namespace zor::test {

class RecordingRandomizer : public IRandomizer {
public:
    explicit RecordingRandomizer(IRandomizer& inner) : m_inner(inner) {}

    // "nextIntRange(a,b)", "nextIntBelow(n)", "nextInt31()", "nextFloatRange(a,b)",
    // "nextFloatScaled(x)", "nextFloat()"; seeds are not logged.
    std::vector<std::string> log;

    void seed(std::uint32_t first, std::uint32_t second) override { m_inner.seed(first, second); }
    std::int32_t nextIntRange(std::int32_t a, std::int32_t b) override {
        log.push_back("nextIntRange(" + std::to_string(a) + "," + std::to_string(b) + ")");
        return m_inner.nextIntRange(a, b);
    }
    std::int32_t nextIntBelow(std::int32_t n) override {
        log.push_back("nextIntBelow(" + std::to_string(n) + ")");
        return m_inner.nextIntBelow(n);
    }
    std::int32_t nextInt31() override {
        log.push_back("nextInt31()");
        return m_inner.nextInt31();
    }
    float nextFloatRange(float a, float b) override {
        log.push_back("nextFloatRange(" + number(a) + "," + number(b) + ")");
        return m_inner.nextFloatRange(a, b);
    }
    float nextFloatScaled(float x) override {
        log.push_back("nextFloatScaled(" + number(x) + ")");
        return m_inner.nextFloatScaled(x);
    }
    float nextFloat() override {
        log.push_back("nextFloat()");
        return m_inner.nextFloat();
    }

private:
    static std::string number(float value) {
        std::string text = std::to_string(value);
        text.erase(text.find_last_not_of('0') + 1);
        if (!text.empty() && text.back() == '.') text.pop_back();
        return text;
    }

    IRandomizer& m_inner;
};

} // namespace zor::test
