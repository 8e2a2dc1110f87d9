#include "samplers/kurzweil/KurzweilRecognizer.h"

#include <memory>

#include "devices/midi/MIDIExceptions.h"
#include "devices/midi/MIDIInput.h"
#include "devices/midi/MIDIOutput.h"
#include "devices/midi/MIDIService.h"
#include "devices/midi/RawSysex.h"
#include "devices/midi/SysexMIDIInput.h"
#include "devices/scsi/SCSITargetListing.h"
#include "samplers/kurzweil/KurzweilModels.h"

namespace quorvel {

using namespace kurzweil;

std::optional<SKurzweilIdentity> KurzweilFromIdentity(const SIdentityReply& reply)
{
    if (reply.manufacturer != kIdentityManufacturer || reply.family != kIdentityFamily)
        return std::nullopt;
    SKurzweilIdentity identity;
    if (reply.member == kK2000Member)
        identity.typeId = kK2000MIDIModel;
    else if (reply.member == kK2500Member)
        identity.typeId = kK2500MIDIModel;
    else
        return std::nullopt;
    identity.version.major = reply.version[kVersionMajorByte];
    identity.version.minor = reply.version[kVersionMinorByte];
    return identity;
}

std::vector<SFoundSampler> CKurzweilRecognizer::RecognizeSCSITarget(const SSCSITargetSeen& target) const
{
    const SInquiryTexts texts = InquiryTexts(target.inquiry.data(), target.inquiry.size());
    if (texts.vendor != kInquiryVendor)
        return {};
    SFoundSampler found;
    if (texts.product.rfind(kInquiryK2000, 0) == 0)
        found.typeId = kK2000MIDIAndSCSIModel;
    else if (texts.product.rfind(kInquiryK2500, 0) == 0)
        found.typeId = kK2500MIDIAndSCSIModel;
    else
        return {};
    found.scsiBus = target.bus;
    found.scsiId = target.id;
    found.foundViaSCSI = true;
    return {found};
}

std::vector<SFoundSampler> CKurzweilRecognizer::RecognizeMIDIMessage(const SMIDIMessageSeen& seen) const
{
    const std::optional<SIdentityReply> reply = ReadIdentityReply(seen.message);
    if (!reply)
        return {};
    const std::optional<SKurzweilIdentity> identity = KurzweilFromIdentity(*reply);
    if (!identity)
        return {};
    SFoundSampler found;
    found.typeId = identity->typeId;
    found.midiIn = seen.input;
    found.midiOut = seen.output;
    found.sysexId = reply->deviceNumber;
    found.foundViaMIDI = true;
    found.versionKnown = true;
    found.osVersion = identity->version;
    return {found};
}

bool ReadKurzweilVersion(const CRegisteredMIDIInput& input, const CRegisteredMIDIOutput& output, uint8_t device,
                         uint32_t typeId, CVersion& version, uint32_t timeoutMs)
{
    CSysexMIDIInput parser;
    const std::unique_ptr<CMIDIInput> listening = input.Open(parser);
    const std::unique_ptr<CMIDIOutput> sending = output.Open();
    if (!listening || !sending)
        throw XFailedOpeningMIDIPort();
    const std::vector<uint8_t> request = IdentityRequest(device);
    sending->SendBytes(request.data(), static_cast<int32_t>(request.size()));
    const uint64_t deadline = MIDIClock().Milliseconds() + timeoutMs;
    for (;;) {
        while (const std::unique_ptr<CRawSysex> message = parser.NextSysex()) {
            const std::optional<SIdentityReply> reply = ReadIdentityReply(*message);
            if (!reply || reply->deviceNumber != device)
                continue; // other traffic on the cable
            const std::optional<SKurzweilIdentity> identity = KurzweilFromIdentity(*reply);
            if (!identity || identity->typeId != (IsK2500(typeId) ? kK2500MIDIModel : kK2000MIDIModel))
                return false;
            version = identity->version;
            return true;
        }
        if (MIDIClock().Milliseconds() >= deadline)
            throw XSysexTimedOut();
        ServiceAllMIDIInputs();
    }
}

} // namespace quorvel
