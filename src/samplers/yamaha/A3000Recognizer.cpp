#include "samplers/yamaha/A3000Recognizer.h"

#include <string_view>

#include "devices/midi/RawSysex.h"

namespace quorvel {

namespace {

constexpr uint8_t kYamaha = 0x43;
constexpr uint16_t kA3000Family = 8320;
constexpr uint16_t kA3000Member = 2817;

constexpr uint8_t kProcessorDevice = 3;
constexpr size_t kVendorOffset = 8;
constexpr std::string_view kVendor = "YAMAHA";
constexpr size_t kProductOffset = 17;
constexpr std::string_view kProduct = "Sampler A3000";
constexpr size_t kVersionOffset = 34;

bool TextAt(const uint8_t* answer, size_t length, size_t offset, std::string_view text)
{
    if (length < offset + text.size())
        return false;
    return std::string_view(reinterpret_cast<const char*>(answer) + offset, text.size()) == text;
}

bool IsDigit(uint8_t c) { return c >= '0' && c <= '9'; }

} // namespace

std::optional<CVersion> A3000VersionFromIdentity(const SIdentityReply& reply)
{
    if (reply.manufacturer != kYamaha || reply.family != kA3000Family || reply.member != kA3000Member)
        return std::nullopt;
    const auto low = [&](size_t i) { return static_cast<uint8_t>(reply.version[i] & 0x0F); };
    CVersion version;
    version.major = static_cast<uint8_t>(low(0) * 10 + low(1));
    version.minor = static_cast<uint8_t>(low(2) * 10 + low(3));
    return version;
}

bool IsA3000Inquiry(const uint8_t* answer, size_t length)
{
    return length > 0 && answer[0] == kProcessorDevice && TextAt(answer, length, kVendorOffset, kVendor) &&
           TextAt(answer, length, kProductOffset, kProduct);
}

std::optional<CVersion> A3000InquiryVersion(const uint8_t* answer, size_t length)
{
    if (length < kVersionOffset + 4)
        return std::nullopt;
    const uint8_t* digits = answer + kVersionOffset;
    for (size_t i = 0; i < 4; ++i)
        if (!IsDigit(digits[i]))
            return std::nullopt;
    CVersion version;
    version.major = static_cast<uint8_t>((digits[0] - '0') * 10 + (digits[1] - '0'));
    version.minor = static_cast<uint8_t>((digits[2] - '0') * 10 + (digits[3] - '0'));
    return version;
}

std::vector<SFoundSampler> CA3000Recognizer::RecognizeSCSITarget(const SSCSITargetSeen& target) const
{
    if (!IsA3000Inquiry(target.inquiry.data(), target.inquiry.size()))
        return {};
    // Half of a MIDI+SCSI sampler: the search completes it with the MIDI
    // answer of the same model.
    SFoundSampler found;
    found.typeId = kA3000MIDIAndSCSIModel;
    found.scsiBus = target.bus;
    found.scsiId = target.id;
    found.foundViaSCSI = true;
    if (const std::optional<CVersion> version = A3000InquiryVersion(target.inquiry.data(), target.inquiry.size())) {
        found.versionKnown = true;
        found.osVersion = *version;
    }
    return {found};
}

std::vector<SFoundSampler> CA3000Recognizer::RecognizeMIDIMessage(const SMIDIMessageSeen& seen) const
{
    const std::optional<SIdentityReply> reply = ReadIdentityReply(seen.message);
    if (!reply)
        return {};
    const std::optional<CVersion> version = A3000VersionFromIdentity(*reply);
    if (!version)
        return {};
    SFoundSampler found;
    found.typeId = kA3000MIDIModel;
    found.midiIn = seen.input;
    found.midiOut = seen.output;
    found.sysexId = reply->deviceNumber;
    found.foundViaMIDI = true;
    found.versionKnown = true;
    found.osVersion = *version;
    return {found};
}

} // namespace quorvel
