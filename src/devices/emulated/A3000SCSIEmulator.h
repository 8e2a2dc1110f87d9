#pragma once
// The SCSI side of an emulated A3000 with its MIDI and SCSI interface: a
// target on the Loopback bus that answers INQUIRY as the A3000 does and
// moves samples by SMDI. An SMDI sampler runs behind it on the A3000's
// memory: sample number n is the n-th sample of the object list, a sample
// taken in at a number past the last is appended (and so takes the next
// free number), and one taken in at an existing number replaces that
// sample's wave. Commands come one at a time on the caller's thread.
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "devices/emulated/A3000Memory.h"
#include "devices/emulated/EmulatorSettings.h"
#include "devices/emulated/SMDIEmulator.h"
#include "devices/scsi/SCSITarget.h"

namespace quorvel {

class CA3000SCSIEmulator final : public ISCSITarget {
public:
    // The memory is shared with the MIDI side.
    CA3000SCSIEmulator(CABCEmulatorClock& clock, const std::vector<SEmulatorFault>& faults,
                       std::shared_ptr<CA3000Memory> memory);

    SCSIResult Command(const uint8_t* block, ESCSIDirection direction, uint8_t* data, size_t length) override;

    // 38 bytes: processor device, vendor "YAMAHA" at 8, product
    // "Sampler A3000" from 17, the version as four digits at 34-37.
    static std::vector<uint8_t> InquiryAnswer();

private:
    // Memory to SMDI store, when the memory changed since the last look.
    void Mirror();
    // What the SMDI sampler kept or deleted goes into the memory.
    void TakeBack();

    std::shared_ptr<CA3000Memory> memory_;
    CSMDIEmulator smdi_;
    bool silent_ = false;
    std::mutex mutex_;
    uint64_t mirrored_ = 0;
    // The store's samples as last mirrored, by number.
    std::vector<std::shared_ptr<const SSMDISample>> known_;
};

} // namespace quorvel
