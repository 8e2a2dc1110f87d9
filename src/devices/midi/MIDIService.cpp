#include "devices/midi/MIDIService.h"

#include <atomic>
#include <condition_variable>
#include <mutex>

#include "devices/midi/MIDIInput.h"

namespace quorvel {

namespace {

CSteadyClock steadyClock;
CABCClock* currentClock = &steadyClock;

// Counts the deliveries of every driver. A yield on the steady clock ends as
// soon as it moves, so a reply is picked up at once. The signal does not take
// the mutex: one that slips in just before the wait costs at most the full
// millisecond.
std::atomic<uint64_t> activity{0};
// The count when the last yield ended: whatever came after it, the caller
// may not have seen yet (user-interface thread only).
uint64_t seenAfterYield = 0;
std::mutex wakeMutex;
std::condition_variable wake;

void YieldUnlessActive(uint64_t seen, std::chrono::milliseconds duration)
{
    std::unique_lock lock(wakeMutex);
    wake.wait_for(lock, duration, [seen] { return activity.load(std::memory_order_acquire) != seen; });
}

} // namespace

void SignalMIDIActivity()
{
    activity.fetch_add(1, std::memory_order_release);
    wake.notify_one();
}

CABCClock& MIDIClock() { return *currentClock; }

void SetMIDIClock(CABCClock* clock) { currentClock = clock ? clock : &steadyClock; }

void ServiceAllMIDIInputs()
{
    const std::vector<CMIDIInput*>& inputs = CMIDIInput::OpenInputs();
    const size_t count = inputs.size();
    for (size_t i = 0; i < count && i < inputs.size(); ++i)
        inputs[i]->Poll();
    if (currentClock == &steadyClock) {
        YieldUnlessActive(seenAfterYield, std::chrono::milliseconds(1));
        seenAfterYield = activity.load(std::memory_order_acquire);
    } else
        currentClock->Sleep(std::chrono::milliseconds(1));
}

} // namespace quorvel
