#pragma once
// Finding a Yamaha A3000: over MIDI by its Identity Reply, on SCSI by its
// inquiry answer. An A3000 heard on MIDI alone is the "via MIDI" model; one
// also seen on SCSI is the "via MIDI+SCSI" model, which the search pairs up
// from the two halves.
#include <optional>

#include "samplers/IdentityReply.h"
#include "samplers/SamplerRecognizer.h"

namespace quorvel {

constexpr uint32_t kA3000MIDIModel = 6000;
constexpr uint32_t kA3000MIDIAndSCSIModel = 6002;

// The operating-system version an A3000 reply carries, or null when the
// reply is not from an A3000.
std::optional<CVersion> A3000VersionFromIdentity(const SIdentityReply& reply);
// Whether an inquiry answer is an A3000's: a processor device, vendor
// "YAMAHA", product "Sampler A3000" from byte 17.
bool IsA3000Inquiry(const uint8_t* answer, size_t length);
// Its version from bytes 34-35 and 36-37 (two two-digit numbers), or null
// when the answer is too short to hold them.
std::optional<CVersion> A3000InquiryVersion(const uint8_t* answer, size_t length);

class CA3000Recognizer final : public CABCSamplerRecognizer {
public:
    std::vector<SFoundSampler> RecognizeSCSITarget(const SSCSITargetSeen& target) const override;
    std::vector<SFoundSampler> RecognizeMIDIMessage(const SMIDIMessageSeen& seen) const override;
};

} // namespace quorvel
