#include "samplers/smdi/SMDISampleHeader.h"

#include <algorithm>

#include "samplers/SampleNameFilter.h"
#include "samplers/SampleRates.h"
#include "samplers/smdi/SMDIExceptions.h"
#include "samplers/smdi/SMDIMessages.h"

namespace quorvel {

using namespace smdi;

namespace {

// Divisions round by adding half the divisor first.
int64_t RoundedDivide(int64_t value, int64_t divisor) { return (value + divisor / 2) / divisor; }

} // namespace

CSMDISampleHeader::CSMDISampleHeader(const SampleInfo& info, uint32_t number)
    : name(FilterSampleName(info.Name().substr(0, kMaxNameLength))), sampleNumber(number & 0xFFFFFF),
      bits(info.bits), channels(info.channelCount), length(info.length)
{
    // A rate of 0 has no period; it gets the longest one the header holds.
    period = info.rate ? std::min<uint32_t>(1000000000u / info.rate, kMaxPeriod) : kMaxPeriod;

    int64_t whole = info.rootKey;
    int64_t fraction = 0;
    if (info.fineTuning < 1) {
        fraction = (int64_t(-info.fineTuning) * 32768 + 25) / 50;
    } else {
        whole -= 1;
        fraction = (int64_t(50 - info.fineTuning) * 32768 + 25) / 50 + 32768;
    }
    // Tunings beyond what one semitone's fraction holds are held to it.
    fraction = std::clamp<int64_t>(fraction, 0, 0xFFFF);
    if (whole < 0)
        whole = fraction = 0;
    pitch = static_cast<uint16_t>(whole);
    pitchFraction = static_cast<uint16_t>(fraction);

    const SSampleLoop& loop = info.sustainLoop;
    switch (static_cast<SampleLoopType>(loop.type)) {
    case SampleLoopType::None:
        loopControl = kLoopOff;
        loopStart = 0;
        loopEnd = info.length;
        break;
    case SampleLoopType::Forward:
        loopControl = kLoopForward;
        loopStart = loop.start;
        loopEnd = loop.end;
        break;
    case SampleLoopType::Alternating:
        loopControl = kLoopAlternating;
        loopStart = loop.start;
        loopEnd = loop.end;
        break;
    default:
        loopControl = kLoopOff;
        loopStart = loop.start;
        loopEnd = loop.end;
        break;
    }
}

CSMDISampleHeader::CSMDISampleHeader(const CSMDIMessage& message)
{
    if (!message.Is(kSampleHeader))
        throw XSMDIUnexpectedMessage();
    const auto data = message.Data();
    if (message.DataLength() < kFixedDataSize)
        throw XSMDIUnexpectedMessage();
    if (data.size() < kFixedDataSize)
        throw XSMDIMessageInvalid();
    const uint8_t* d = data.data();
    const size_t nameLength = d[25];
    if (message.DataLength() < kFixedDataSize + nameLength)
        throw XSMDIUnexpectedMessage();
    if (data.size() < kFixedDataSize + nameLength)
        throw XSMDIMessageInvalid();
    sampleNumber = GetBigEndian(d, 3);
    bits = d[3];
    channels = d[4];
    period = GetBigEndian(d + 5, 3);
    length = GetBigEndian(d + 8, 4);
    loopStart = GetBigEndian(d + 12, 4);
    loopEnd = GetBigEndian(d + 16, 4);
    loopControl = d[20];
    pitch = static_cast<uint16_t>(GetBigEndian(d + 21, 2));
    pitchFraction = static_cast<uint16_t>(GetBigEndian(d + 23, 2));
    name.assign(reinterpret_cast<const char*>(d + kFixedDataSize), nameLength);
    trailing.assign(d + kFixedDataSize + nameLength, d + data.size());
}

size_t CSMDISampleHeader::BuildMessage(uint8_t* buffer) const
{
    const size_t nameLength = std::min(name.size(), kMaxNameLength);
    const size_t dataLength = kFixedDataSize + nameLength + trailing.size();
    PutHeader(buffer, kSampleHeader, static_cast<uint32_t>(dataLength));
    uint8_t* d = buffer + kHeaderSize;
    PutBigEndian(d, sampleNumber, 3);
    d[3] = bits;
    d[4] = channels;
    PutBigEndian(d + 5, period, 3);
    PutBigEndian(d + 8, length, 4);
    PutBigEndian(d + 12, loopStart, 4);
    PutBigEndian(d + 16, loopEnd, 4);
    d[20] = loopControl;
    PutBigEndian(d + 21, pitch, 2);
    PutBigEndian(d + 23, pitchFraction, 2);
    d[25] = static_cast<uint8_t>(nameLength);
    std::copy_n(name.data(), nameLength, d + kFixedDataSize);
    std::copy(trailing.begin(), trailing.end(), d + kFixedDataSize + nameLength);
    return kHeaderSize + dataLength;
}

std::vector<uint8_t> CSMDISampleHeader::Message() const
{
    std::vector<uint8_t> bytes(MaxMessageSize() + trailing.size());
    bytes.resize(BuildMessage(bytes.data()));
    return bytes;
}

void CSMDISampleHeader::ToSampleInfo(SampleInfo& info) const
{
    info = SampleInfo{};
    info.SetName(FilterSampleName(std::string_view(name).substr(0, kMaxNameLength)));
    info.channelCount = channels;
    info.bits = bits;
    info.rate = period ? SnapToCommonRate(1000000000u / period) : 0;
    info.length = info.playEnd = length;
    info.playStart = 0;
    if (loopStart > loopEnd) {
        info.sustainLoop = {};
    } else {
        const SampleLoopType type = loopControl == kLoopForward       ? SampleLoopType::Forward
                                    : loopControl == kLoopAlternating ? SampleLoopType::Alternating
                                                                      : SampleLoopType::OffWithMarker;
        info.sustainLoop = {static_cast<uint32_t>(type), loopStart, loopEnd};
    }
    int64_t root = pitch;
    int64_t tuning = 0;
    if (pitchFraction >= 32768) {
        root += 1;
        tuning = RoundedDivide(int64_t(65536 - pitchFraction) * 50, 32768);
    } else {
        tuning = -RoundedDivide(int64_t(pitchFraction) * 50, 32768);
    }
    if (root > 127) {
        root = 127;
        tuning = 50;
    }
    info.rootKey = static_cast<uint8_t>(root);
    info.fineTuning = static_cast<int16_t>(tuning);
}

} // namespace quorvel
