#include "samplers/kurzweil/K2000SoundBlock.h"

#include <algorithm>
#include <cstdlib>

#include "fileformats/ByteOrder.h"
#include "samplers/kurzweil/KurzweilExceptions.h"

namespace quorvel {

namespace {

constexpr uint32_t kNanosecondsPerSecond = 1000000000;
constexpr uint32_t kDefaultRate = 44100;
constexpr uint32_t kCommonRates[] = {44100, 48000, 32000, 22050, 11025, 8000};
// From the count field to the first sound header.
constexpr uint16_t kFirstSoundDistance = 8;
constexpr size_t kCountField = 2;
constexpr size_t kDistanceField = 4;

// The last frame of a span that ends before `end`; a span that ends at its start keeps it.
uint32_t LastFrame(uint32_t start, uint32_t end) { return end > start ? end - 1 : start; }

void PutSoundHeader(uint8_t* p, const SK2000SoundHeader& h)
{
    p[0] = h.rootKey;
    p[1] = h.flags;
    p[2] = h.byte2;
    p[3] = h.byte3;
    PutBE16(p + 4, h.constant4);
    PutBE16(p + 6, h.reserved6);
    PutBE32(p + 8, h.start);
    PutBE32(p + 12, h.end);
    PutBE32(p + 16, h.loopStart);
    PutBE32(p + 20, h.loopEnd);
    PutBE16(p + 24, h.constant24);
    PutBE16(p + 26, h.constant26);
    PutBE32(p + 28, h.periodNs);
}

SK2000SoundHeader GetSoundHeader(const uint8_t* p)
{
    SK2000SoundHeader h;
    h.rootKey = p[0];
    h.flags = p[1];
    h.byte2 = p[2];
    h.byte3 = p[3];
    h.constant4 = GetBE16(p + 4);
    h.reserved6 = GetBE16(p + 6);
    h.start = GetBE32(p + 8);
    h.end = GetBE32(p + 12);
    h.loopStart = GetBE32(p + 16);
    h.loopEnd = GetBE32(p + 20);
    h.constant24 = GetBE16(p + 24);
    h.constant26 = GetBE16(p + 26);
    h.periodNs = GetBE32(p + 28);
    return h;
}

} // namespace

SK2000SoundHeader::SK2000SoundHeader() : periodNs(PeriodOf(kDefaultRate)) {}

uint32_t SK2000SoundHeader::PeriodOf(uint32_t rate)
{
    return kNanosecondsPerSecond / std::clamp(rate, kLowestRate, kHighestRate);
}

uint32_t SK2000SoundHeader::RateOf(uint32_t periodNs)
{
    if (periodNs == 0)
        return kDefaultRate;
    const uint32_t rate = kNanosecondsPerSecond / periodNs;
    for (const uint32_t common : kCommonRates)
        if (rate + 1 >= common && rate <= common + 1)
            return common;
    return rate;
}

SK2000SoundHeader SK2000SoundHeader::FromSampleInfo(const SampleInfo& info)
{
    SK2000SoundHeader h;
    h.rootKey = info.rootKey;
    h.flags = kAlwaysSetBits;
    h.start = 0;
    h.end = info.length > 0 ? info.length - 1 : 0;
    h.periodNs = PeriodOf(info.rate);
    const SSampleLoop& loop = info.sustainLoop;
    uint32_t loopStart = loop.start;
    uint32_t loopEnd = loop.end;
    switch (static_cast<SampleLoopType>(loop.type)) {
    case SampleLoopType::Forward:
        break;
    case SampleLoopType::Alternating:
        h.flags |= kAlternatingBit;
        break;
    case SampleLoopType::OffWithMarker:
        h.flags |= kLoopOffBit;
        break;
    default:
        // No loop: the loop spans what plays.
        h.flags |= kLoopOffBit;
        loopStart = info.playStart;
        loopEnd = info.playEnd;
        break;
    }
    h.loopStart = loopStart;
    h.loopEnd = LastFrame(loopStart, loopEnd);
    return h;
}

CK2000SoundBlock::CK2000SoundBlock(uint16_t id, std::string name)
    : CKurzweilObject(EKurzweilObjectType::SoundBlock, id, std::move(name)), sounds_(1)
{
}

size_t CK2000SoundBlock::BodySize() const { return kHeaderSize + kSoundHeaderSize * sounds_.size(); }

size_t CK2000SoundBlock::WriteBody(std::span<uint8_t> buffer) const
{
    const size_t size = BodySize();
    if (sounds_.empty() || sounds_.size() > kMostSounds || buffer.size() < size)
        throw XK2000InvalidFormat();
    uint8_t* p = buffer.data();
    PutBE16(p, baseId_);
    PutBE16(p + kCountField, static_cast<uint16_t>(sounds_.size() - 1));
    PutBE16(p + kDistanceField, kFirstSoundDistance);
    p[6] = flags_;
    std::copy(carried_.begin(), carried_.end(), p + 7);
    for (size_t k = 0; k < sounds_.size(); ++k)
        PutSoundHeader(p + kHeaderSize + kSoundHeaderSize * k, sounds_[k]);
    return size;
}

void CK2000SoundBlock::ReadBody(std::span<const uint8_t> body)
{
    if (body.size() < kHeaderSize)
        throw XK2000InvalidFormat();
    const uint8_t* p = body.data();
    const size_t count = size_t{GetBE16(p + kCountField)} + 1;
    const size_t first = kDistanceField + GetBE16(p + kDistanceField);
    if (count > kMostSounds || first < kHeaderSize || first + count * kSoundHeaderSize > body.size())
        throw XK2000InvalidFormat();
    std::vector<SK2000SoundHeader> sounds;
    for (size_t k = 0; k < count; ++k)
        sounds.push_back(GetSoundHeader(p + first + kSoundHeaderSize * k));
    baseId_ = GetBE16(p);
    flags_ = p[6];
    std::copy(p + 7, p + kHeaderSize, carried_.begin());
    sounds_ = std::move(sounds);
}

void CK2000SoundBlock::SetFromSampleInfo(const SampleInfo& info)
{
    sounds_.assign(1, SK2000SoundHeader::FromSampleInfo(info));
    flags_ &= static_cast<uint8_t>(~kStereoBit);
}

SampleInfo CK2000SoundBlock::ToSampleInfo() const
{
    SampleInfo info;
    info.SetName(Name());
    info.channelCount = IsStereo() ? 2 : 1;
    info.bits = 16;
    const SK2000SoundHeader& h = sounds_.front();
    info.rate = SK2000SoundHeader::RateOf(h.periodNs);
    info.rootKey = h.rootKey;
    info.length = h.end >= h.start ? h.end - h.start + 1 : 0;
    info.playStart = 0;
    info.playEnd = info.length;
    // A block whose loop points lie past its end still gives a loop inside the sample.
    const uint32_t loopEnd = std::min(h.loopEnd >= h.start ? h.loopEnd - h.start + 1 : 0, info.length);
    const uint32_t loopStart = std::min(h.loopStart >= h.start ? h.loopStart - h.start : 0, loopEnd);
    if ((h.flags & SK2000SoundHeader::kLoopOffBit) != 0) {
        const bool wholeSample = loopStart == 0 && loopEnd == info.length;
        info.sustainLoop.type =
            static_cast<uint32_t>(wholeSample ? SampleLoopType::None : SampleLoopType::OffWithMarker);
    } else {
        const bool alternating = (h.flags & SK2000SoundHeader::kAlternatingBit) != 0;
        info.sustainLoop.type =
            static_cast<uint32_t>(alternating ? SampleLoopType::Alternating : SampleLoopType::Forward);
    }
    info.sustainLoop.start = loopStart;
    info.sustainLoop.end = loopEnd;
    return info;
}

} // namespace quorvel
