#pragma once
// An AKAI sampler of the S3000 generation over SCSI (S2000, S3000XL,
// S3200XL, CD3000XL): name lists, headers, deletions, and sample words in
// packets inside the vendor commands.
#include "devices/scsi/SCSIBus.h"
#include "samplers/akai/AKAIInterface.h"

namespace quorvel {

class CAKAISCSIInterface : public CABCAKAIInterface {
public:
    // The target (not owned) answering on exclusive channel `channel`.
    CAKAISCSIInterface(const SCSIDevice& device, uint8_t channel);
};

} // namespace quorvel
