#pragma once
// A target that lives inside the process, as the emulated samplers do. It
// sees each command as the bus received it and answers with a result kind
// (and sense bytes for CHECK CONDITION).
#include <cstddef>
#include <cstdint>

#include "devices/scsi/SCSIResult.h"

namespace quorvel {

class ISCSITarget {
public:
    virtual ~ISCSITarget() = default;

    // `block` holds CommandBlockLength(block[0]) bytes. For kIn the target
    // fills up to `length` bytes of `data`; for kOut it reads them; for kNone
    // `data` is null.
    virtual SCSIResult Command(const uint8_t* block, ESCSIDirection direction, uint8_t* data, size_t length) = 0;
};

// A CHECK CONDITION result carrying the given fixed-format sense key and
// additional sense code.
SCSIResult CheckCondition(uint8_t senseKey, uint8_t additionalCode = 0, uint8_t qualifier = 0);

} // namespace quorvel
