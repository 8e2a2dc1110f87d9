#pragma once
// Simulated clock and message queue for the shell's scheduling rules. Both
// write to one log, so tests can check the order of events.
#include <deque>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/MainLoop.h"

namespace quorvel::test {

using EventLog = std::vector<std::string>;

struct FakeClock : CABCClock {
    explicit FakeClock(EventLog& log) : log(log) {}
    uint64_t Milliseconds() const override { return now; }
    void Sleep(std::chrono::milliseconds duration) override
    {
        log.push_back("sleep " + std::to_string(duration.count()));
        now += static_cast<uint64_t>(duration.count());
    }
    EventLog& log;
    uint64_t now = 0;
};

// Messages are actions run when dispatched.
struct FakeMessageSource : CABCMessageSource {
    explicit FakeMessageSource(EventLog& log) : log(log) {}
    void Post(int times = 1, std::function<void()> action = {})
    {
        queue.insert(queue.end(), static_cast<size_t>(times), action);
    }
    void WaitAndDispatch() override
    {
        log.push_back("wait");
        if (!DispatchPending()) {
            throw std::logic_error("the loop would block forever");
        }
    }
    bool DispatchPending() override
    {
        if (queue.empty()) {
            return false;
        }
        auto action = std::move(queue.front());
        queue.pop_front();
        log.push_back("msg");
        if (action) {
            action();
        }
        return true;
    }
    EventLog& log;
    std::deque<std::function<void()>> queue;
};

} // namespace quorvel::test
