#pragma once
// The time an emulated sampler keeps: how long it holds a WAIT, how long it
// waits for a handshake before it goes on without one. Behind an interface
// so that tests move the time by hand and never sit through a real wait.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace quorvel {

class CABCEmulatorClock {
public:
    virtual ~CABCEmulatorClock() = default;
    // Milliseconds of a monotonic clock; the origin is arbitrary. Any thread.
    virtual uint64_t Milliseconds() const = 0;
    // Blocks on `wake` (whose mutex `lock` holds) until it is notified or
    // until `until` may have come; the caller checks again either way.
    virtual void WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& wake, uint64_t until) = 0;
};

class CSteadyEmulatorClock final : public CABCEmulatorClock {
public:
    uint64_t Milliseconds() const override;
    void WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& wake, uint64_t until) override;
};

// The clock the emulators started from the environment run on.
CABCEmulatorClock& SteadyEmulatorClock();

} // namespace quorvel
