#pragma once
// Where the S-760 keeps what the program reads and writes, and how its
// sample parameter block is laid out. Kept in one place so that a reading
// of the sampler's documents is easy to correct; docs/ROLAND-LAYOUTS.md
// names the source of each.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "samplers/SampleInfo.h"

namespace quorvel::s760 {

// File list categories.
constexpr uint8_t kPatchCategory = 3;
constexpr uint8_t kPartialCategory = 4;
constexpr uint8_t kSampleCategory = 5;

constexpr int32_t kSampleCount = 512;
constexpr int32_t kPatchCount = 128;
constexpr int32_t kPartialCount = 256;

constexpr uint32_t kFileListAddress = 0x200018;
// Two bytes written one-way and read back: 0, and 1 minus the flag.
constexpr uint32_t kAccessAddress = 0x200008;

constexpr uint32_t kReplyTimeoutMs = 5000;
constexpr uint32_t kAccessTimeoutMs = 2000;

constexpr size_t kNameLength = 16;
constexpr char kStereoMark = 0x7F;

// The sample parameter block: 48 bytes, each sent as two nibbles.
constexpr size_t kSampleBlockSize = 48;
constexpr size_t kSampleBlockWireSize = 2 * kSampleBlockSize;
uint32_t SampleBlockAddress(int32_t sampleNumber);

constexpr uint32_t kFramesPerBlock = 4608;
// Blocks a sample of `frames` frames takes, and the frames `blocks` blocks
// read back as.
uint32_t BlocksForFrames(uint32_t frames);
uint32_t FramesOfBlocks(uint32_t blocks);

// The rate index of the smallest table rate at or above `rate` (0 above 48000).
uint8_t RateIndex(uint32_t rate);
// 44100 for an index past the table.
uint32_t RateOfIndex(uint8_t index);

// Memory addresses: a frame position in a bank, 8 fraction bits, and the
// offset of 2048 the block's address fields carry.
uint32_t BankBase(uint32_t bank);
uint32_t StoredAddress(uint32_t frame, uint32_t bank);
uint32_t FrameOfStored(uint32_t stored, uint32_t bank);

// Loop modes: forward, forward + release, one shot, forward + one shot,
// alternate, reverse one shot, reverse.
enum ELoopMode : uint8_t {
    kLoopForward = 0,
    kLoopForwardRelease = 1,
    kLoopOneShot = 2,
    kLoopForwardOneShot = 3,
    kLoopAlternate = 4,
    kLoopReverseOneShot = 5,
    kLoopReverse = 6,
};

struct SS760SampleParameters {
    std::array<char, kNameLength> name{};
    uint32_t start = 0; // the address fields as stored
    uint32_t sustainLoopStart = 0;
    uint32_t sustainLoopEnd = 0;
    uint32_t releaseLoopStart = 0;
    uint32_t end = 0;
    uint8_t loopMode = kLoopOneShot;
    std::array<uint8_t, 3> further37{};
    uint16_t bank = 0;
    uint16_t blocks = 0;
    uint8_t rateIndex = 0;
    uint8_t rootKey = SampleInfo::kDefaultRootKey;
    std::array<uint8_t, 2> further46{};

    // From and to the 96 bytes on the wire.
    static SS760SampleParameters FromWire(std::span<const uint8_t> wire);
    std::array<uint8_t, kSampleBlockWireSize> ToWire() const;

    // One channel of 16 bits: rate, length, loops and name as the block says.
    SampleInfo ToInfo() const;
    // Name, rate, loops, end and root key from `info`, placed from the
    // block's own start; the block count when none is set yet.
    void SetFromInfo(const SampleInfo& info);
};

// The sampler's 16-character name: blanks after the text, cut to 16.
std::array<char, kNameLength> PaddedName(std::string_view name);
// One half of a stereo sample: the name padded to 14 characters, then the
// mark and "L" or "R".
std::array<char, kNameLength> StereoHalfName(std::string_view name, bool right);
// Both names full length, both marked, the first "L", the second "R".
bool IsStereoPair(std::string_view left, std::string_view right);
// A name as the user sees it: a stereo mark and its letter blanked, the
// trailing blanks dropped.
std::string DisplayName(std::string_view name);

} // namespace quorvel::s760
