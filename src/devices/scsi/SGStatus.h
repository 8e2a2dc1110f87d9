#pragma once
// Turns what the Linux SCSI generic driver reports for one command (target
// status, host status, driver status, sense bytes) into a result kind.
#include <cstddef>
#include <cstdint>

#include "devices/scsi/SCSIResult.h"

namespace quorvel {

struct SSGStatus {
    uint8_t status = 0;        // the target's status byte
    uint16_t hostStatus = 0;   // DID_* of the host adapter driver
    uint16_t driverStatus = 0; // DRIVER_* of the mid level
    const uint8_t* sense = nullptr;
    size_t senseWritten = 0;
};

// Host: no connect or bad target -> no device (256); time-out -> 257;
// abort -> 259; any other host failure -> 258. Then a driver time-out ->
// 257. Then the target status: 0 -> good (sense kept if any came), CHECK
// CONDITION -> 2 with up to 14 sense bytes, busy, reservation conflict and
// queue full -> their codes, anything else -> the status itself. A driver
// failure with a good target status -> 258.
SCSIResult DecodeSGStatus(const SSGStatus& status);

} // namespace quorvel
