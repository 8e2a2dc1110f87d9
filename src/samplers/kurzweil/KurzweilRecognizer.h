#pragma once
// Finding a K2000 or K2500 over MIDI: its answer to the universal identity
// request names the maker (0x07), the family and the member (which model),
// and carries the operating-system version. On SCSI its inquiry answer names
// the maker and the model; that half of a MIDI+SCSI sampler is completed by
// the search with the MIDI answer of the same model.
#include <cstdint>
#include <optional>

#include "devices/midi/RegisteredMIDIPorts.h"
#include "fileformats/PreferenceObjects.h"
#include "samplers/IdentityReply.h"
#include "samplers/SamplerRecognizer.h"

namespace quorvel {

namespace kurzweil {
// The identity-reply fields, kept together so they are easy to correct.
constexpr uint8_t kIdentityManufacturer = 0x07;
constexpr uint16_t kIdentityFamily = 0x78; // the product byte of the object messages
constexpr uint16_t kK2000Member = 0;
constexpr uint16_t kK2500Member = 1;
// Version bytes: major, minor, then two bytes that do not count.
constexpr size_t kVersionMajorByte = 0;
constexpr size_t kVersionMinorByte = 1;

// The SCSI inquiry answer: vendor, and the product text's beginning per model.
constexpr const char* kInquiryVendor = "KURZWEIL";
constexpr const char* kInquiryK2000 = "K2000";
constexpr const char* kInquiryK2500 = "K2500";

// How long the sampler has to answer.
constexpr uint32_t kIdentityTimeoutMs = 1000;
} // namespace kurzweil

struct SKurzweilIdentity {
    uint32_t typeId = 0; // the model "via MIDI": 1000 or 1010
    CVersion version;
};

// Null when the reply is not from a K2000 or K2500.
std::optional<SKurzweilIdentity> KurzweilFromIdentity(const SIdentityReply& reply);

class CKurzweilRecognizer final : public CABCSamplerRecognizer {
public:
    std::vector<SFoundSampler> RecognizeSCSITarget(const SSCSITargetSeen& target) const override;
    std::vector<SFoundSampler> RecognizeMIDIMessage(const SMIDIMessageSeen& seen) const override;
};

// Asks the sampler at `device` for its identity: true with the version when
// a Kurzweil of `typeId`'s model answered (MIDI or MIDI+SCSI row alike),
// false when another device did. XSysexTimedOut when nothing answered in
// time (on MIDIClock()); XFailedOpeningMIDIPort when a port does not open.
bool ReadKurzweilVersion(const CRegisteredMIDIInput& input, const CRegisteredMIDIOutput& output, uint8_t device,
                         uint32_t typeId, CVersion& version, uint32_t timeoutMs = kurzweil::kIdentityTimeoutMs);

} // namespace quorvel
