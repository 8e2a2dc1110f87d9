#include "devices/emulated/EmulatorClock.h"

namespace quorvel {

uint64_t CSteadyEmulatorClock::Milliseconds() const
{
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now().time_since_epoch())
                                     .count());
}

void CSteadyEmulatorClock::WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& wake,
                                     uint64_t until)
{
    const uint64_t now = Milliseconds();
    if (until > now)
        wake.wait_for(lock, std::chrono::milliseconds(until - now));
}

CABCEmulatorClock& SteadyEmulatorClock()
{
    static CSteadyEmulatorClock clock;
    return clock;
}

} // namespace quorvel
