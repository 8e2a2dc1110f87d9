#pragma once
// The application's message loop without the windowing layer beneath it:
// when to block, when to poll, when to run the idle step and when to stop.
// The platform's message queue comes in through CABCMessageSource.
#include <chrono>
#include <cstdint>
#include <functional>

#include "framework/Clock.h"

namespace quorvel {

class CABCMessageSource {
public:
    virtual ~CABCMessageSource() = default;
    // Blocks until a message arrives and dispatches it.
    virtual void WaitAndDispatch() = 0;
    // Dispatches one waiting message without blocking; false when nothing
    // was waiting.
    virtual bool DispatchPending() = 0;
};

enum class RunState : int32_t {
    kRunning = 44,
    kQuitRequested = 45,
    kQuit = 46,
};

class CMainLoop {
public:
    // A burst of messages may hold off the idle step for this many messages
    // at most, so playback cursors keep moving under a flood of input.
    static constexpr int kMessagesPerIdleStep = 20;
    static constexpr std::chrono::milliseconds kDefaultIdleInterval{100};
    static constexpr std::chrono::milliseconds kPollYield{1};

    // `source` and `clock` must outlive the loop. `idleStep` is the
    // application's idle work.
    CMainLoop(CABCMessageSource& source, CABCClock& clock, std::function<void()> idleStep);
    CMainLoop(const CMainLoop&) = delete;
    CMainLoop& operator=(const CMainLoop&) = delete;

    // Asked when the run state is found at "quit requested" after a message;
    // true lets the program end. Without one a quit request always succeeds.
    void SetCloseAllDocuments(std::function<bool()> closeAll) { closeAll_ = std::move(closeAll); }
    void SetIdleInterval(std::chrono::milliseconds interval) { idleInterval_ = interval; }

    // Returns once the run state is quit.
    void Run();
    // One pass of the loop (the body of Run).
    void RunOnce();

    // Runs the idle work unless there are no idle users and the idle
    // interval has not passed since the last time.
    void IdleStep();

    // Dispatches waiting messages, at most `limit`, stopping early when none
    // is left or the run state has become quit. Returns how many were
    // dispatched. Work loops call this; it never runs the quit protocol, so
    // nothing is closed underneath the work.
    int DispatchPendingMessages(int limit);

    RunState State() const { return state_; }
    void SetState(RunState state) { state_ = state; }
    bool QuitReached() const { return state_ == RunState::kQuit; }

    // Parts that need idle time (playback, lengthy operations) register
    // while they do; with any registered the loop polls instead of blocking.
    void AddIdleUser() { ++idleUsers_; }
    void RemoveIdleUser() { --idleUsers_; }
    int16_t IdleUsers() const { return idleUsers_; }
    bool HasIdleUsers() const { return idleUsers_ > 0; }

    CABCClock& Clock() { return clock_; }

private:
    // After a message dispatched by the loop itself.
    void AfterDispatch();

    CABCMessageSource& source_;
    CABCClock& clock_;
    std::function<void()> idleStep_;
    std::function<bool()> closeAll_;
    std::chrono::milliseconds idleInterval_ = kDefaultIdleInterval;
    RunState state_ = RunState::kRunning;
    int16_t idleUsers_ = 0;
    uint64_t lastIdle_ = 0;
};

// Holds an idle-user registration for its lifetime.
class CIdleUser {
public:
    explicit CIdleUser(CMainLoop& loop) : loop_(loop) { loop_.AddIdleUser(); }
    ~CIdleUser() { loop_.RemoveIdleUser(); }
    CIdleUser(const CIdleUser&) = delete;
    CIdleUser& operator=(const CIdleUser&) = delete;

private:
    CMainLoop& loop_;
};

} // namespace quorvel
