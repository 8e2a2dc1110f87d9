#pragma once
// A sound block: a 12-byte header and one 32-byte sound header per sound.
// The sample data itself travels separately (Sample Dump Standard or SMDI);
// the block says where its sound starts, ends and loops and at what period.
#include <array>
#include <vector>

#include "samplers/SampleInfo.h"
#include "samplers/kurzweil/KurzweilObject.h"

namespace quorvel {

struct SK2000SoundHeader {
    static constexpr uint8_t kAlternatingBit = 0x02;
    static constexpr uint8_t kAlwaysSetBits = 0x30;
    static constexpr uint8_t kLoopOffBit = 0x80;

    uint8_t rootKey = SampleInfo::kDefaultRootKey;
    uint8_t flags = kAlwaysSetBits | kLoopOffBit;
    uint8_t byte2 = 0;
    uint8_t byte3 = 0;
    uint16_t constant4 = 6147;
    uint16_t reserved6 = 0;
    uint32_t start = 0;
    uint32_t end = 0;       // last frame
    uint32_t loopStart = 0;
    uint32_t loopEnd = 0;   // last frame of the loop
    uint16_t constant24 = 8;
    uint16_t constant26 = 6;
    uint32_t periodNs = 0;  // of the default rate below

    static constexpr uint32_t kLowestRate = 400;
    static constexpr uint32_t kHighestRate = 95996;

    SK2000SoundHeader();
    // The header a transmitted sample gets: its root key, loop and period.
    static SK2000SoundHeader FromSampleInfo(const SampleInfo& info);
    // Rate within 400 to 95996 Hz as nanoseconds a frame.
    static uint32_t PeriodOf(uint32_t rate);
    // The rate of a period, snapped to a common rate within 1 Hz of it.
    static uint32_t RateOf(uint32_t periodNs);

    bool operator==(const SK2000SoundHeader&) const = default;
};

class CK2000SoundBlock : public CKurzweilObject {
public:
    static constexpr size_t kHeaderSize = 12;
    static constexpr size_t kSoundHeaderSize = 32;
    static constexpr size_t kMostSounds = 128;
    static constexpr uint8_t kStereoBit = 0x01;

    // A new block with one default sound header.
    explicit CK2000SoundBlock(uint16_t id = 0, std::string name = {});

    size_t BodySize() const override;
    size_t WriteBody(std::span<uint8_t> buffer) const override;
    size_t MaxBodySize() const override { return kHeaderSize + kSoundHeaderSize * kMostSounds; }
    void ReadBody(std::span<const uint8_t> body) override;

    // One sound made from `info` (its loop, period and root key); the block's flags say mono.
    void SetFromSampleInfo(const SampleInfo& info);
    // The first sound as a sample record: rate, channels from the stereo bit, 16 bits, the
    // object's name, and the loop.
    SampleInfo ToSampleInfo() const;

    const std::vector<SK2000SoundHeader>& Sounds() const { return sounds_; }
    std::vector<SK2000SoundHeader>& Sounds() { return sounds_; }
    uint8_t Flags() const { return flags_; }
    void SetFlags(uint8_t flags) { flags_ = flags; }
    bool IsStereo() const { return (flags_ & kStereoBit) != 0; }
    uint16_t BaseId() const { return baseId_; }

private:
    uint16_t baseId_ = 0;
    uint8_t flags_ = 0;
    // Bytes 7 to 11 of a block that was read go back as they came.
    std::array<uint8_t, 5> carried_{};
    std::vector<SK2000SoundHeader> sounds_;
};

} // namespace quorvel
