#pragma once
// The clock every MIDI wait runs on, and the step each wait loop repeats:
// let every open input deliver what its driver handed over, then yield for
// 1 ms. Tests put a simulated clock here so that no wait sits through real
// time.
#include <cstdint>

#include "framework/Clock.h"

namespace quorvel {

// The steady clock by default.
CABCClock& MIDIClock();
// nullptr goes back to the steady clock.
void SetMIDIClock(CABCClock* clock);

// On the steady clock the yield ends early when a driver signals a delivery
// made since the inputs were polled.
void ServiceAllMIDIInputs();

// Any thread, never waits: ends a yield of the default clock that is under way.
void SignalMIDIActivity();

// Puts a clock in place for a scope.
class CScopedMIDIClock {
public:
    explicit CScopedMIDIClock(CABCClock& clock) { SetMIDIClock(&clock); }
    ~CScopedMIDIClock() { SetMIDIClock(nullptr); }
    CScopedMIDIClock(const CScopedMIDIClock&) = delete;
    CScopedMIDIClock& operator=(const CScopedMIDIClock&) = delete;
};

} // namespace quorvel
