#include "samplers/akai/AKAIRecognizer.h"

#include <string_view>

#include "devices/midi/MIDIExceptions.h"
#include "devices/midi/MIDIInput.h"
#include "devices/midi/MIDIOutput.h"
#include "devices/midi/MIDIService.h"
#include "devices/midi/RawSysex.h"
#include "devices/midi/SysexMIDIInput.h"
#include "samplers/akai/AKAIMessages.h"
#include "samplers/akai/AKAISCSICom.h"
#include "samplers/akai/AKAIModels.h"

namespace quorvel {

using namespace akai;

namespace {

constexpr int32_t kStatusMinimumLength = 8; // F0 47 cc 01 48 minor major ... F7
constexpr uint8_t kProcessorDevice = 3;
constexpr size_t kVendorOffset = 8;
constexpr size_t kProductOffset = 16;
constexpr size_t kProductLength = 16;
constexpr std::string_view kVendor = "AKAI EMI";

struct SSCSIProduct {
    std::string_view product;
    uint32_t typeId;
};
constexpr SSCSIProduct kSCSIProducts[] = {
    {"S2000 SAMPLER", 4131},
    {"S3000XL SAMPLER", 4151},
    {"CD3000XL SAMPLER", 4171},
    {"S3200XL SAMPLER", 4161},
};

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && (text.back() == ' ' || text.back() == '\0'))
        text.remove_suffix(1);
    return text;
}

} // namespace

std::optional<CVersion> AKAIStatusVersion(const CRawSysex& message)
{
    if (message.GetLength() < kStatusMinimumLength || !IsAKAI(message) || Operation(message) != kStatus)
        return std::nullopt;
    CVersion version;
    version.minor = message.GetData()[5];
    version.major = message.GetData()[6];
    return version;
}

uint32_t AKAIModelFromStatus(const CVersion& version) { return version.major >= 4 ? kS1000MIDIModel : kS3000MIDIModel; }

uint32_t AKAISCSIModel(const uint8_t* answer, size_t length)
{
    if (length < kProductOffset + kProductLength || (answer[0] & 0x1F) != kProcessorDevice)
        return 0;
    const std::string_view text(reinterpret_cast<const char*>(answer), length);
    if (text.substr(kVendorOffset, kVendor.size()) != kVendor)
        return 0;
    const std::string_view product = Trimmed(text.substr(kProductOffset, kProductLength));
    for (const SSCSIProduct& known : kSCSIProducts)
        if (product == known.product)
            return known.typeId;
    return 0;
}

std::vector<SFoundSampler> CAKAIRecognizer::RecognizeSCSITarget(const SSCSITargetSeen& target) const
{
    const uint32_t model = AKAISCSIModel(target.inquiry.data(), target.inquiry.size());
    if (model == 0)
        return {};
    SFoundSampler found;
    found.typeId = model;
    found.scsiBus = target.bus;
    found.scsiId = target.id;
    found.foundViaSCSI = true;
    return {found};
}

std::vector<SFoundSampler> CAKAIRecognizer::RecognizeMIDIMessage(const SMIDIMessageSeen& seen) const
{
    const std::optional<CVersion> version = AKAIStatusVersion(seen.message);
    if (!version)
        return {};
    SFoundSampler found;
    found.typeId = AKAIModelFromStatus(*version);
    found.midiIn = seen.input;
    found.midiOut = seen.output;
    found.sysexId = Channel(seen.message);
    found.foundViaMIDI = true;
    found.versionKnown = true;
    found.osVersion = *version;
    return {found};
}

bool ReadAKAIVersion(const CRegisteredMIDIInput& input, const CRegisteredMIDIOutput& output, uint8_t channel,
                     CVersion& version, uint32_t timeoutMs)
{
    CSysexMIDIInput parser;
    const std::unique_ptr<CMIDIInput> listening = input.Open(parser);
    const std::unique_ptr<CMIDIOutput> sending = output.Open();
    if (!listening || !sending)
        throw XFailedOpeningMIDIPort();
    const CRawSysex request = PlainRequest(channel, kRequestStatus);
    sending->SendBytes(request.GetData(), request.GetLength());
    const uint64_t deadline = MIDIClock().Milliseconds() + timeoutMs;
    for (;;) {
        while (const std::unique_ptr<CRawSysex> message = parser.NextSysex()) {
            if (message->GetLength() < kHeaderBytes || Channel(*message) != (channel & 0x7F))
                continue; // other traffic on the cable
            if (!IsAKAI(*message))
                continue;
            const std::optional<CVersion> read = AKAIStatusVersion(*message);
            if (!read)
                return false;
            version = *read;
            return true;
        }
        if (MIDIClock().Milliseconds() >= deadline)
            throw XSysexTimedOut();
        ServiceAllMIDIInputs();
    }
}

bool ReadAKAIVersion(const SCSIDevice& device, uint8_t channel, CVersion& version)
{
    CAKAISCSICom com(device, channel);
    const std::unique_ptr<CRawSysex> answer = com.Request(PlainRequest(channel, kRequestStatus));
    const std::optional<CVersion> read = AKAIStatusVersion(*answer);
    if (!read)
        return false;
    version = *read;
    return true;
}

} // namespace quorvel
