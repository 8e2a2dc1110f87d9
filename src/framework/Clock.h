#pragma once
// The monotonic millisecond clock and the processor yield that the main loop
// and lengthy operations run on. Behind an interface so that the scheduling
// rules can be driven by a simulated clock.
#include <chrono>
#include <cstdint>

namespace quorvel {

class CABCClock {
public:
    virtual ~CABCClock() = default;
    // Milliseconds of a monotonic clock; the origin is arbitrary.
    virtual uint64_t Milliseconds() const = 0;
    // Gives up the processor for about `duration`.
    virtual void Sleep(std::chrono::milliseconds duration) = 0;
};

class CSteadyClock final : public CABCClock {
public:
    uint64_t Milliseconds() const override;
    void Sleep(std::chrono::milliseconds duration) override;
};

} // namespace quorvel
