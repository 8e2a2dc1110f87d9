#pragma once
// Finding AKAI samplers: over MIDI by the answer to the status request, on
// SCSI by the inquiry answer of the models that speak AKAI over SCSI.
#include <optional>

#include "devices/midi/RegisteredMIDIPorts.h"
#include "devices/scsi/SCSIBus.h"
#include "samplers/SamplerRecognizer.h"

namespace quorvel {

// The operating-system version a status report carries, or nothing when
// the message is not one.
std::optional<CVersion> AKAIStatusVersion(const CRawSysex& message);
// The MIDI model a status report stands for: the S1000 for versions from
// 4 up (its operating systems), the S3000 otherwise.
uint32_t AKAIModelFromStatus(const CVersion& version);
// The SCSI model of an inquiry answer, or 0: a processor device, vendor
// "AKAI EMI", and a product of the SCSI-capable models.
uint32_t AKAISCSIModel(const uint8_t* answer, size_t length);

class CAKAIRecognizer final : public CABCSamplerRecognizer {
public:
    std::vector<SFoundSampler> RecognizeSCSITarget(const SSCSITargetSeen& target) const override;
    std::vector<SFoundSampler> RecognizeMIDIMessage(const SMIDIMessageSeen& seen) const override;
};

// How long the sampler has to answer the status request.
constexpr uint32_t kAKAIStatusTimeoutMs = 1000;

// Asks the sampler on `channel` for its status: true with the version when
// an AKAI sampler answered, false when something else answered on that
// channel. XSysexTimedOut when nothing did; XFailedOpeningMIDIPort when a
// port cannot be opened.
bool ReadAKAIVersion(const CRegisteredMIDIInput& input, const CRegisteredMIDIOutput& output, uint8_t channel,
                     CVersion& version, uint32_t timeoutMs = kAKAIStatusTimeoutMs);
// The same over SCSI: the request and its answer in the vendor commands;
// XAKAISCSINoUnreadData when nothing answered.
bool ReadAKAIVersion(const SCSIDevice& device, uint8_t channel, CVersion& version);

} // namespace quorvel
