#include "samplers/akai/AKAISampleHeader.h"

#include <algorithm>

#include "devices/midi/SysexEncoding.h"
#include "samplers/akai/AKAICharacters.h"
#include "samplers/akai/AKAIMessages.h"

namespace quorvel::akai {

namespace {

constexpr int32_t kUnitsPerSemitone = 256;
constexpr int32_t kHalfSemitone = 128;
constexpr int32_t kHeaderLoops = 4; // loops 1 to 4 carry the sample's loops

bool IsLoop(uint32_t type) { return type >= 1 && type <= 3; }

} // namespace

std::string CABCAKAISampleHeader::Name() const
{
    std::string name = DecodeName(Bytes().data() + kNameOffset);
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    return name;
}

void CABCAKAISampleHeader::SetName(const std::string& name) { EncodeName(name, Bytes().data() + kNameOffset); }

void CABCAKAISampleHeader::PutLoop(int32_t index, uint32_t point, uint32_t length)
{
    const int32_t at = kLoopsOffset + index * kLoopBytes;
    Put(at, 4, point);
    Put(at + 4, 2, 0);
    Put(at + 6, 4, length);
    Put(at + 10, 2, kHoldLoopDwell);
}

void CABCAKAISampleHeader::SetFromInfo(const SampleInfo& info)
{
    std::vector<uint8_t>& bytes = Bytes();
    bytes[0] = kSampleBlockId;
    bytes[1] = info.rate >= 44100 ? 1 : 0;
    bytes[2] = info.rootKey;
    SetName(std::string(info.Name()));
    bytes[kValidOffset] = static_cast<uint8_t>((bytes[kValidOffset] & 0x7F) | 0x80);
    Put(kTuningOffset, 2, static_cast<uint16_t>(static_cast<int16_t>(MulDivRounded(info.fineTuning, 128, 50))));
    Put(kStartOffset, 4, 0);
    Put(kLengthOffset, 4, info.length);
    Put(kPlayStartOffset, 4, info.playStart);
    Put(kPlayEndOffset, 4, info.playEnd > 0 ? info.playEnd - 1 : 0);
    Put(kRateOffset, 2, info.rate);
    // A transmitted sample is mono: no partner, and no loop tune left over.
    Put(kStereoPartnerOffset, 2, 0);
    bytes[kHoldLoopTuneOffset] = 0;
    for (int32_t i = 0; i < kHeaderLoops; ++i)
        for (int32_t b = 0; b < kLoopBytes; ++b)
            bytes[static_cast<size_t>(kLoopsOffset + i * kLoopBytes + b)] = 0;
    bytes[kFirstLoopOffset] = 0;
    uint8_t loops = 0;
    uint8_t mode = kNoLooping;
    const SSampleLoop& sustain = info.sustainLoop;
    const SSampleLoop& release = info.releaseLoop;
    if (IsLoop(sustain.type)) {
        PutLoop(0, sustain.end, sustain.end - std::min(sustain.start, sustain.end));
        loops = 1;
        if (sustain.type != 1)
            mode = IsLoop(release.type) ? kLoopUntilRelease : kLoopInRelease;
    }
    if (IsLoop(release.type)) {
        PutLoop(1, release.end, release.end - std::min(release.start, release.end));
        loops = 2;
    }
    bytes[kLoopCountOffset] = loops;
    bytes[kLoopModeOffset] = mode;
}

SampleInfo CABCAKAISampleHeader::ToInfo() const
{
    SampleInfo info;
    info.SetName(Name());
    info.channelCount = 1;
    info.bits = 16;
    info.rate = Rate();
    info.length = Get(kLengthOffset, 4);
    info.playStart = Get(kPlayStartOffset, 4);
    info.playEnd = Get(kPlayEndOffset, 4) + 1;
    // Whole semitones beyond half a semitone either way move into the root
    // key, so that the fine tuning stays within +-50 cents.
    int32_t root = Bytes()[2];
    int32_t tuning = static_cast<int16_t>(Get(kTuningOffset, 2));
    while (tuning > kHalfSemitone) {
        tuning -= kUnitsPerSemitone;
        ++root;
    }
    while (tuning < -kHalfSemitone) {
        tuning += kUnitsPerSemitone;
        --root;
    }
    info.rootKey = static_cast<uint8_t>(std::clamp(root, 0, 127));
    info.fineTuning = static_cast<int16_t>(MulDivRounded(tuning, 50, 128));
    // The first loops that hold (a non-zero dwell) give the sustain loop and,
    // when the sample loops until release, the release loop.
    const uint8_t mode = Bytes()[kLoopModeOffset];
    SSampleLoop* target = &info.sustainLoop;
    for (int32_t i = 0; i < kHeaderLoops && target; ++i) {
        const int32_t at = kLoopsOffset + i * kLoopBytes;
        if (Get(at + 10, 2) == 0)
            continue;
        const uint32_t point = Get(at, 4);
        const uint32_t length = std::min(Get(at + 6, 4), point);
        target->start = point - length;
        target->end = point;
        if (target == &info.sustainLoop) {
            target->type = mode == kNoLooping ? 1 : 2;
            target = mode == kLoopUntilRelease ? &info.releaseLoop : nullptr;
        } else {
            target->type = 2;
            target = nullptr;
        }
    }
    return info;
}

CRawSysex CABCAKAISampleHeader::ToMessage(uint8_t channel) const
{
    return CAKAIDataBlock::ToMessage(channel, kSampleHeader);
}

void CABCAKAISampleHeader::FromMessage(const CRawSysex& message)
{
    CAKAIDataBlock::FromMessage(message, {kSampleHeader, kSampleBytes});
}

std::unique_ptr<CABCAKAISampleHeader> MakeSampleHeader(EGeneration generation)
{
    if (generation == EGeneration::S1000)
        return std::make_unique<CS1000SampleHeader>();
    return std::make_unique<CS3000SampleHeader>();
}

} // namespace quorvel::akai
