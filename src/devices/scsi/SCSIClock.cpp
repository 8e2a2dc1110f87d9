#include "devices/scsi/SCSIClock.h"

namespace quorvel {

namespace {

CSteadyClock steadyClock;
CABCClock* currentClock = &steadyClock;

} // namespace

CABCClock& SCSIClock() { return *currentClock; }

void SetSCSIClock(CABCClock* clock) { currentClock = clock ? clock : &steadyClock; }

} // namespace quorvel
