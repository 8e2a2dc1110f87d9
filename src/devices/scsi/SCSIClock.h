#pragma once
// The clock every SCSI wait runs on (a target's WAIT, for one). Tests put a
// simulated clock here so that no wait sits through real time.
#include "framework/Clock.h"

namespace quorvel {

// The steady clock by default.
CABCClock& SCSIClock();
// nullptr goes back to the steady clock.
void SetSCSIClock(CABCClock* clock);

// Puts a clock in place for a scope.
class CScopedSCSIClock {
public:
    explicit CScopedSCSIClock(CABCClock& clock) { SetSCSIClock(&clock); }
    ~CScopedSCSIClock() { SetSCSIClock(nullptr); }
    CScopedSCSIClock(const CScopedSCSIClock&) = delete;
    CScopedSCSIClock& operator=(const CScopedSCSIClock&) = delete;
};

} // namespace quorvel
