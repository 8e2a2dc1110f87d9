#include "framework/MainLoop.h"

namespace quorvel {

CMainLoop::CMainLoop(CABCMessageSource& source, CABCClock& clock, std::function<void()> idleStep)
    : source_(source), clock_(clock), idleStep_(std::move(idleStep)), lastIdle_(clock.Milliseconds())
{
}

void CMainLoop::Run()
{
    while (!QuitReached()) {
        RunOnce();
    }
}

void CMainLoop::RunOnce()
{
    if (!HasIdleUsers()) {
        // Nothing needs idle time: sleep in the platform until there is work.
        source_.WaitAndDispatch();
        AfterDispatch();
        return;
    }
    if (!source_.DispatchPending()) {
        IdleStep();
        clock_.Sleep(kPollYield);
        return;
    }
    AfterDispatch();
    int dispatched = 1;
    while (dispatched < kMessagesPerIdleStep && !QuitReached() && source_.DispatchPending()) {
        ++dispatched;
        AfterDispatch();
    }
    if (dispatched == kMessagesPerIdleStep && !QuitReached()) {
        IdleStep();
    }
}

void CMainLoop::IdleStep()
{
    const uint64_t now = clock_.Milliseconds();
    if (!HasIdleUsers() && now - lastIdle_ < static_cast<uint64_t>(idleInterval_.count())) {
        return;
    }
    lastIdle_ = now;
    if (idleStep_) {
        idleStep_();
    }
}

int CMainLoop::DispatchPendingMessages(int limit)
{
    int dispatched = 0;
    while (dispatched < limit && !QuitReached() && source_.DispatchPending()) {
        ++dispatched;
    }
    return dispatched;
}

void CMainLoop::AfterDispatch()
{
    if (state_ != RunState::kQuitRequested) {
        return;
    }
    // Back to running while the documents are asked, so that a refusal
    // leaves the program running.
    state_ = RunState::kRunning;
    if (!closeAll_ || closeAll_()) {
        state_ = RunState::kQuit;
    }
}

} // namespace quorvel
