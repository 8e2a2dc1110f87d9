#include "samplers/yamaha/A3000Layouts.h"

#include <algorithm>

#include "samplers/yamaha/A3000Exceptions.h"

namespace quorvel::a3000 {

namespace {

// Wave parameter block offsets (big-endian numbers, as the sampler's own
// parameter blocks are).
constexpr size_t kLengthAt = 16;
constexpr size_t kRateAt = 20;
constexpr size_t kRootKeyAt = 22;
constexpr size_t kFineTuningAt = 23;
constexpr size_t kLoopTypeAt = 25;
constexpr size_t kLoopStartAt = 26;
constexpr size_t kLoopEndAt = 30;
constexpr size_t kPlayStartAt = 34;
constexpr size_t kPlayEndAt = 38;
constexpr size_t kBitsAt = 42;
constexpr size_t kHalfAt = 43;

// Sample bank header and member record offsets.
constexpr size_t kMemberCountAt = 16;
constexpr size_t kLevelAt = 18;
constexpr size_t kPanAt = 19;
constexpr size_t kOutputAt = 20;
constexpr size_t kChannelAt = 21;
constexpr size_t kMemberTypeAt = 0;
constexpr size_t kMemberNameAt = 1;
constexpr size_t kMemberKeyLowAt = 17;
constexpr size_t kMemberKeyHighAt = 18;
constexpr size_t kMemberRootAt = 19;
constexpr size_t kMemberHalfAt = 20;

void Put(std::vector<uint8_t>& data, size_t at, int width, uint32_t value)
{
    for (int i = width - 1; i >= 0; --i, value >>= 8)
        data[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value & 0xFF);
}

uint32_t Get(const std::vector<uint8_t>& data, size_t at, int width)
{
    uint32_t value = 0;
    for (int i = 0; i < width; ++i)
        value = value << 8 | data[at + static_cast<size_t>(i)];
    return value;
}

void PutName(std::vector<uint8_t>& data, size_t at, std::string_view name)
{
    const std::string padded = PaddedName(name);
    std::copy(padded.begin(), padded.end(), data.begin() + static_cast<std::ptrdiff_t>(at));
}

EHalf HalfOf(uint8_t value) { return value <= 2 ? static_cast<EHalf>(value) : EHalf::Mono; }

} // namespace

std::string SamplerName(std::string_view name)
{
    std::string out;
    for (char c : name.substr(0, std::min(name.size(), kNameLength))) {
        const auto u = static_cast<unsigned char>(c);
        out += u >= 0x20 && u < 0x7F ? c : ' ';
    }
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

std::string PaddedName(std::string_view name)
{
    std::string padded = SamplerName(name);
    padded.resize(kNameLength, ' ');
    return padded;
}

std::string NameFromBytes(const uint8_t* bytes)
{
    std::string name(reinterpret_cast<const char*>(bytes), kNameLength);
    while (!name.empty() && (name.back() == ' ' || name.back() == '\0'))
        name.pop_back();
    return name;
}

std::string HalfName(std::string_view name, EHalf half)
{
    std::string base = SamplerName(name);
    if (half == EHalf::Mono)
        return base;
    if (base.size() >= kNameLength)
        base.erase(1, 1);
    return base + (half == EHalf::Left ? 'L' : 'R');
}

std::vector<uint8_t> EncodeWaveParameters(const SWaveParameters& p)
{
    std::vector<uint8_t> data(kWaveParameterBytes, 0);
    PutName(data, 0, p.name);
    Put(data, kLengthAt, 4, p.length);
    Put(data, kRateAt, 2, p.rate);
    data[kRootKeyAt] = p.rootKey;
    Put(data, kFineTuningAt, 2, static_cast<uint16_t>(p.fineTuning));
    data[kLoopTypeAt] = p.loopType;
    Put(data, kLoopStartAt, 4, p.loopStart);
    Put(data, kLoopEndAt, 4, p.loopEnd);
    Put(data, kPlayStartAt, 4, p.playStart);
    Put(data, kPlayEndAt, 4, p.playEnd);
    data[kBitsAt] = p.bits;
    data[kHalfAt] = static_cast<uint8_t>(p.half);
    return data;
}

SWaveParameters DecodeWaveParameters(const std::vector<uint8_t>& data)
{
    if (data.size() < kWaveParameterBytes)
        throw XA3000ReceivedInvalidSysex();
    SWaveParameters p;
    p.name = NameFromBytes(data.data());
    p.length = Get(data, kLengthAt, 4);
    p.rate = static_cast<uint16_t>(Get(data, kRateAt, 2));
    p.rootKey = data[kRootKeyAt];
    p.fineTuning = static_cast<int16_t>(Get(data, kFineTuningAt, 2));
    p.loopType = data[kLoopTypeAt];
    p.loopStart = Get(data, kLoopStartAt, 4);
    p.loopEnd = Get(data, kLoopEndAt, 4);
    p.playStart = Get(data, kPlayStartAt, 4);
    p.playEnd = Get(data, kPlayEndAt, 4);
    p.bits = data[kBitsAt];
    p.half = HalfOf(data[kHalfAt]);
    return p;
}

SWaveParameters WaveParametersFromInfo(const SampleInfo& info, EHalf half)
{
    SWaveParameters p;
    p.name = HalfName(info.Name(), half);
    p.length = info.length;
    p.rate = static_cast<uint16_t>(std::clamp<uint32_t>(info.rate, 1, 65535));
    p.rootKey = info.rootKey;
    p.fineTuning = info.fineTuning;
    p.loopType = static_cast<uint8_t>(info.sustainLoop.type);
    p.loopStart = info.sustainLoop.start;
    p.loopEnd = info.sustainLoop.end;
    p.playStart = info.playStart;
    p.playEnd = info.playEnd;
    p.bits = 16;
    p.half = half;
    return p;
}

SampleInfo InfoFromWaveParameters(const SWaveParameters& p)
{
    SampleInfo info;
    info.SetName(p.name);
    info.channelCount = 1;
    info.bits = 16;
    info.rate = p.rate;
    info.length = p.length;
    info.playEnd = std::min(p.playEnd, p.length);
    info.playStart = std::min(p.playStart, info.playEnd);
    if (p.loopType != 0 && p.loopType <= 3) {
        info.sustainLoop.type = p.loopType;
        info.sustainLoop.start = p.loopStart;
        info.sustainLoop.end = p.loopEnd;
    }
    info.rootKey = p.rootKey <= 127 ? p.rootKey : SampleInfo::kDefaultRootKey;
    info.fineTuning = p.fineTuning;
    return info;
}

std::vector<uint8_t> CA3000SampleBank::Encode() const
{
    std::vector<uint8_t> data(kBankHeaderBytes + kMemberBytes * members.size(), 0);
    PutName(data, 0, name);
    Put(data, kMemberCountAt, 2, static_cast<uint32_t>(members.size()));
    data[kLevelAt] = level;
    data[kPanAt] = static_cast<uint8_t>(pan);
    data[kOutputAt] = output;
    data[kChannelAt] = receiveChannel;
    size_t at = kBankHeaderBytes;
    for (const SBankMember& member : members) {
        data[at + kMemberTypeAt] = kSampleObject;
        PutName(data, at + kMemberNameAt, member.name);
        data[at + kMemberKeyLowAt] = member.keyLow;
        data[at + kMemberKeyHighAt] = member.keyHigh;
        data[at + kMemberRootAt] = member.rootKey;
        data[at + kMemberHalfAt] = static_cast<uint8_t>(member.half);
        at += kMemberBytes;
    }
    return data;
}

CA3000SampleBank CA3000SampleBank::Decode(const std::vector<uint8_t>& data)
{
    if (data.size() < kBankHeaderBytes)
        throw XA3000ReceivedInvalidSysex();
    CA3000SampleBank bank;
    bank.name = NameFromBytes(data.data());
    const uint32_t count = Get(data, kMemberCountAt, 2);
    if (data.size() < kBankHeaderBytes + kMemberBytes * count)
        throw XA3000ReceivedInvalidSysex();
    bank.level = data[kLevelAt];
    bank.pan = static_cast<int8_t>(data[kPanAt]);
    bank.output = data[kOutputAt];
    bank.receiveChannel = data[kChannelAt];
    for (uint32_t i = 0; i < count; ++i) {
        const size_t at = kBankHeaderBytes + kMemberBytes * i;
        SBankMember member;
        member.name = NameFromBytes(data.data() + at + kMemberNameAt);
        member.keyLow = data[at + kMemberKeyLowAt];
        member.keyHigh = data[at + kMemberKeyHighAt];
        member.rootKey = data[at + kMemberRootAt];
        member.half = HalfOf(data[at + kMemberHalfAt]);
        bank.members.push_back(member);
    }
    return bank;
}

} // namespace quorvel::a3000
