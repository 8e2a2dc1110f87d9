#include "framework/Clock.h"

#include <thread>

namespace quorvel {

uint64_t CSteadyClock::Milliseconds() const
{
    const auto sinceOrigin = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(sinceOrigin).count());
}

void CSteadyClock::Sleep(std::chrono::milliseconds duration)
{
    std::this_thread::sleep_for(duration);
}

} // namespace quorvel
