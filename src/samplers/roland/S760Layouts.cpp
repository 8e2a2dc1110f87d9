#include "samplers/roland/S760Layouts.h"

#include <algorithm>

#include "devices/midi/SysexEncoding.h"

namespace quorvel::s760 {

namespace {

constexpr uint32_t kFirstSampleBlock = 2048;
constexpr std::array<uint32_t, 8> kRates{48000, 44100, 24000, 22050, 30000, 15000, 32000, 16000};
constexpr uint8_t kDefaultRateIndex = 1;
constexpr uint32_t kBankSize = 9 * 131072;
constexpr uint32_t kFractionBits = 8;
constexpr uint32_t kAddressOffset = 2048;
// Frames the sampler does not play at the end of its last block.
constexpr uint32_t kBlockTail = 4;

// Offsets in the 48-byte block.
constexpr size_t kStartAt = 16, kSustainStartAt = 20, kSustainEndAt = 24, kReleaseStartAt = 28, kEndAt = 32;
constexpr size_t kLoopModeAt = 36, kFurther37At = 37, kBankAt = 40, kBlocksAt = 42, kRateAt = 44, kRootKeyAt = 45,
                 kFurther46At = 46;

uint32_t Little(const uint8_t* at, int width)
{
    uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = value << 8 | at[i];
    return value;
}

void PutLittle(uint8_t* at, uint32_t value, int width)
{
    for (int i = 0; i < width; ++i)
        at[i] = static_cast<uint8_t>(value >> (8 * i));
}

SSampleLoop Loop(SampleLoopType type, uint32_t start, uint32_t end)
{
    return SSampleLoop{static_cast<uint32_t>(type), start, end};
}

} // namespace

uint32_t SampleBlockAddress(int32_t sampleNumber)
{
    return (static_cast<uint32_t>(sampleNumber) + kFirstSampleBlock) * kSampleBlockWireSize;
}

uint32_t BlocksForFrames(uint32_t frames) { return (frames + kFramesPerBlock - 1) / kFramesPerBlock; }

uint32_t FramesOfBlocks(uint32_t blocks) { return blocks == 0 ? 0 : blocks * kFramesPerBlock - kBlockTail; }

uint8_t RateIndex(uint32_t rate)
{
    uint8_t best = 0; // above the table: the highest rate
    uint32_t bestRate = UINT32_MAX;
    for (size_t i = 0; i < kRates.size(); ++i)
        if (kRates[i] >= rate && kRates[i] < bestRate) {
            bestRate = kRates[i];
            best = static_cast<uint8_t>(i);
        }
    return best;
}

uint32_t RateOfIndex(uint8_t index) { return index < kRates.size() ? kRates[index] : kRates[kDefaultRateIndex]; }

uint32_t BankBase(uint32_t bank) { return bank * kBankSize; }

uint32_t StoredAddress(uint32_t frame, uint32_t bank)
{
    return (frame << kFractionBits) + BankBase(bank) + kAddressOffset;
}

uint32_t FrameOfStored(uint32_t stored, uint32_t bank)
{
    const uint32_t base = BankBase(bank) + kAddressOffset;
    return stored < base ? 0 : (stored - base) >> kFractionBits;
}

SS760SampleParameters SS760SampleParameters::FromWire(std::span<const uint8_t> wire)
{
    std::array<uint8_t, kSampleBlockSize> b{};
    PackNibblePairs(static_cast<int32_t>(kSampleBlockSize), b.data(), wire.data());
    SS760SampleParameters p;
    std::copy_n(b.begin(), kNameLength, p.name.begin());
    p.start = Little(&b[kStartAt], 4);
    p.sustainLoopStart = Little(&b[kSustainStartAt], 4);
    p.sustainLoopEnd = Little(&b[kSustainEndAt], 4);
    p.releaseLoopStart = Little(&b[kReleaseStartAt], 4);
    p.end = Little(&b[kEndAt], 4);
    p.loopMode = b[kLoopModeAt];
    std::copy_n(&b[kFurther37At], p.further37.size(), p.further37.begin());
    p.bank = static_cast<uint16_t>(Little(&b[kBankAt], 2));
    p.blocks = static_cast<uint16_t>(Little(&b[kBlocksAt], 2));
    p.rateIndex = b[kRateAt];
    p.rootKey = b[kRootKeyAt];
    std::copy_n(&b[kFurther46At], p.further46.size(), p.further46.begin());
    return p;
}

std::array<uint8_t, kSampleBlockWireSize> SS760SampleParameters::ToWire() const
{
    std::array<uint8_t, kSampleBlockSize> b{};
    std::copy(name.begin(), name.end(), b.begin());
    PutLittle(&b[kStartAt], start, 4);
    PutLittle(&b[kSustainStartAt], sustainLoopStart, 4);
    PutLittle(&b[kSustainEndAt], sustainLoopEnd, 4);
    PutLittle(&b[kReleaseStartAt], releaseLoopStart, 4);
    PutLittle(&b[kEndAt], end, 4);
    b[kLoopModeAt] = loopMode;
    std::copy(further37.begin(), further37.end(), &b[kFurther37At]);
    PutLittle(&b[kBankAt], bank, 2);
    PutLittle(&b[kBlocksAt], blocks, 2);
    b[kRateAt] = rateIndex;
    b[kRootKeyAt] = rootKey;
    std::copy(further46.begin(), further46.end(), &b[kFurther46At]);
    std::array<uint8_t, kSampleBlockWireSize> wire{};
    UnpackNibblePairs(static_cast<int32_t>(kSampleBlockSize), b.data(), wire.data());
    return wire;
}

SampleInfo SS760SampleParameters::ToInfo() const
{
    SampleInfo info;
    info.SetName(DisplayName(std::string_view(name.data(), name.size())));
    info.channelCount = 1;
    info.bits = 16;
    info.rate = RateOfIndex(rateIndex);
    info.length = FramesOfBlocks(blocks);
    info.rootKey = rootKey;
    const uint32_t first = FrameOfStored(start, bank);
    const auto at = [&](uint32_t stored) {
        const uint32_t frame = FrameOfStored(stored, bank);
        return std::min(frame > first ? frame - first : 0, info.length);
    };
    const uint32_t loopStart = at(sustainLoopStart), loopEnd = at(sustainLoopEnd);
    const uint32_t releaseStart = at(releaseLoopStart), last = at(end);
    info.playStart = 0;
    info.playEnd = info.length;
    const SSampleLoop forward = Loop(SampleLoopType::Forward, loopStart, loopEnd);
    const SSampleLoop marker = Loop(SampleLoopType::OffWithMarker, loopEnd, loopEnd);
    switch (loopMode) {
    case kLoopForward:
        info.sustainLoop = forward;
        break;
    case kLoopForwardRelease:
        info.sustainLoop = forward;
        info.releaseLoop = Loop(SampleLoopType::Forward, releaseStart, last);
        break;
    case kLoopOneShot:
        info.sustainLoop = marker;
        info.playEnd = loopEnd;
        break;
    case kLoopForwardOneShot:
        info.sustainLoop = forward;
        info.releaseLoop = Loop(SampleLoopType::OffWithMarker, last, last);
        break;
    case kLoopAlternate:
        info.sustainLoop = Loop(SampleLoopType::Alternating, loopStart, loopEnd);
        break;
    case kLoopReverseOneShot:
    case kLoopReverse:
        info.sustainLoop = marker;
        break;
    default:
        break;
    }
    return info;
}

void SS760SampleParameters::SetFromInfo(const SampleInfo& info)
{
    name = PaddedName(info.Name());
    rateIndex = RateIndex(info.rate);
    if (blocks == 0)
        blocks = static_cast<uint16_t>(BlocksForFrames(info.length));
    const uint32_t first = FrameOfStored(start, bank);
    start = StoredAddress(first, bank);
    const uint32_t lastFrame = info.length == 0 ? 0 : info.length - 1;
    const auto stored = [&](uint32_t frame) { return StoredAddress(first + std::min(frame, lastFrame), bank); };
    end = stored(lastFrame);
    const SSampleLoop& sustain = info.sustainLoop;
    const SSampleLoop& release = info.releaseLoop;
    const auto type = [](const SSampleLoop& loop) { return static_cast<SampleLoopType>(loop.type); };
    if (type(sustain) == SampleLoopType::Forward || type(sustain) == SampleLoopType::Alternating) {
        sustainLoopStart = stored(sustain.start);
        sustainLoopEnd = stored(sustain.end);
        if (type(sustain) == SampleLoopType::Alternating)
            loopMode = kLoopAlternate;
        else if (type(release) == SampleLoopType::Forward)
            loopMode = kLoopForwardRelease;
        else if (type(release) == SampleLoopType::OffWithMarker)
            loopMode = kLoopForwardOneShot;
        else
            loopMode = kLoopForward;
        releaseLoopStart = type(release) == SampleLoopType::Forward ? stored(release.start) : sustainLoopStart;
    } else {
        // Played once to its end.
        loopMode = kLoopOneShot;
        sustainLoopStart = stored(0);
        sustainLoopEnd = end;
        releaseLoopStart = sustainLoopStart;
    }
    if (info.rootKey != 0)
        rootKey = info.rootKey;
}

std::array<char, kNameLength> PaddedName(std::string_view text)
{
    std::array<char, kNameLength> name;
    name.fill(' ');
    std::copy_n(text.begin(), std::min(text.size(), kNameLength), name.begin());
    return name;
}

std::array<char, kNameLength> StereoHalfName(std::string_view text, bool right)
{
    std::array<char, kNameLength> name = PaddedName(text.substr(0, std::min(text.size(), kNameLength - 2)));
    name[kNameLength - 2] = kStereoMark;
    name[kNameLength - 1] = right ? 'R' : 'L';
    return name;
}

bool IsStereoPair(std::string_view left, std::string_view right)
{
    const auto marked = [](std::string_view name, char side) {
        return name.size() == kNameLength && name[kNameLength - 2] == kStereoMark && name[kNameLength - 1] == side;
    };
    return marked(left, 'L') && marked(right, 'R');
}

std::string DisplayName(std::string_view text)
{
    std::string name(text.substr(0, std::min(text.size(), kNameLength)));
    const size_t zero = name.find('\0');
    if (zero != std::string::npos)
        name.resize(zero);
    if (name.size() == kNameLength && name[kNameLength - 2] == kStereoMark)
        name.resize(kNameLength - 2);
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    return name;
}

} // namespace quorvel::s760
