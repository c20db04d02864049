#pragma once
// A scriptable store service for tests: it records every call as a line of text, answers
// from tables the test fills in, and delivers the callbacks and call results the test
// queues when runCallbacks runs, as the real client does.

#include "Framework/store/StoreCallback.h"

#include <algorithm>
#include <cassert>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace zor::test {

class FakeStoreService final : public IStoreService {
public:
    // Scripted answers.
    bool client = true;
    std::uint32_t applicationId = 7001;
    bool loggedOn = true;
    std::map<std::string, std::int32_t> stats;       // getStat succeeds for these names
    std::map<std::string, bool> achievements;        // getAchievement succeeds for these names
    std::map<StoreLeaderboardHandle, std::string> leaderboardNames;
    bool findsStart = true;                          // false: findOrCreateLeaderboard returns 0

    // What happened, in order: the store calls, and the (un)registrations of listeners.
    std::vector<std::string> calls;
    std::vector<std::string> registrations;

    // The handle returned by the last asynchronous call.
    StoreCall lastCall() const { return m_nextCall; }

    template <class Message>
    void sendCallback(const Message& message) {
        m_pending.push_back([this, message] {
            const std::vector<StoreCallbackBase*> listeners = m_callbacks;
            for (StoreCallbackBase* callback : listeners)
                if (callback->callbackId() == Message::CallbackId) callback->run(&message);
        });
    }

    // The answer to `call`; with ioFailure the message arrives zeroed.
    template <class Message>
    void answer(StoreCall call, const Message& message, bool ioFailure = false) {
        m_pending.push_back([this, call, message, ioFailure] {
            const auto found = m_results.find(call);
            if (found == m_results.end()) return;
            StoreCallResultBase* result = found->second;
            m_results.erase(found);
            assert(result->callbackId() == Message::CallbackId);
            const Message delivered = ioFailure ? Message{} : message;
            result->run(&delivered, ioFailure);
        });
    }

    bool init() override {
        calls.push_back("Init");
        return client;
    }
    void shutdown() override { calls.push_back("Shutdown"); }
    bool clientPresent() override { return client; }
    void runCallbacks() override {
        std::deque<std::function<void()>> due;
        due.swap(m_pending);
        for (const auto& delivery : due) delivery();
    }

    void registerCallback(StoreCallbackBase& callback) override {
        registrations.push_back("RegisterCallback " + std::to_string(callback.callbackId()));
        m_callbacks.push_back(&callback);
    }
    void unregisterCallback(StoreCallbackBase& callback) override {
        registrations.push_back("UnregisterCallback " + std::to_string(callback.callbackId()));
        m_callbacks.erase(std::remove(m_callbacks.begin(), m_callbacks.end(), &callback), m_callbacks.end());
    }
    void registerCallResult(StoreCallResultBase& result, StoreCall call) override {
        registrations.push_back("RegisterCallResult " + std::to_string(result.callbackId()) + " " +
                                std::to_string(call));
        m_results[call] = &result;
    }
    void unregisterCallResult(StoreCallResultBase& result, StoreCall call) override {
        registrations.push_back("UnregisterCallResult " + std::to_string(result.callbackId()) + " " +
                                std::to_string(call));
        const auto found = m_results.find(call);
        if (found != m_results.end() && found->second == &result) m_results.erase(found);
    }

    std::uint32_t appId() override { return applicationId; }
    bool userLoggedOn() override { return loggedOn; }

    bool requestCurrentStats() override {
        calls.push_back("RequestCurrentStats");
        return true;
    }
    bool getStat(const std::string& name, std::int32_t& value) override {
        calls.push_back("GetStat " + name);
        const auto found = stats.find(name);
        if (found == stats.end()) return false;
        value = found->second;
        return true;
    }
    bool setStat(const std::string& name, std::int32_t value) override {
        calls.push_back("SetStat " + name + " " + std::to_string(value));
        stats[name] = value;
        return true;
    }
    bool getAchievement(const std::string& name, bool& achieved) override {
        calls.push_back("GetAchievement " + name);
        const auto found = achievements.find(name);
        if (found == achievements.end()) return false;
        achieved = found->second;
        return true;
    }
    bool setAchievement(const std::string& name) override {
        calls.push_back("SetAchievement " + name);
        achievements[name] = true;
        return true;
    }
    bool storeStats() override {
        calls.push_back("StoreStats");
        return true;
    }
    bool resetAllStats(bool achievementsToo) override {
        calls.push_back(std::string("ResetAllStats ") + (achievementsToo ? "true" : "false"));
        return true;
    }

    StoreCall findOrCreateLeaderboard(const std::string& name, LeaderboardSort sort,
                                      LeaderboardDisplay display) override {
        calls.push_back("FindOrCreateLeaderboard " + name + " " + std::to_string(sort) + " " + std::to_string(display));
        return findsStart ? ++m_nextCall : 0;
    }
    std::string leaderboardName(StoreLeaderboardHandle leaderboard) override {
        calls.push_back("GetLeaderboardName " + std::to_string(leaderboard));
        const auto found = leaderboardNames.find(leaderboard);
        return found == leaderboardNames.end() ? std::string() : found->second;
    }
    StoreCall uploadLeaderboardScore(StoreLeaderboardHandle leaderboard, LeaderboardUploadMethod method,
                                     std::int32_t score, const std::vector<std::int32_t>& details) override {
        std::string line = "UploadLeaderboardScore " + std::to_string(leaderboard) + " " + std::to_string(method) +
                           " " + std::to_string(score) + " [";
        for (std::size_t i = 0; i < details.size(); ++i) line += (i ? " " : "") + std::to_string(details[i]);
        calls.push_back(line + "]");
        return ++m_nextCall;
    }

private:
    std::deque<std::function<void()>> m_pending;
    std::vector<StoreCallbackBase*> m_callbacks;
    std::map<StoreCall, StoreCallResultBase*> m_results;
    StoreCall m_nextCall = 100;
};

} // namespace zor::test
