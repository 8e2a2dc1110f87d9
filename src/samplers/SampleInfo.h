#pragma once
// A sample's parameters as they travel between the sampler framework and the
// brand protocols. Every brand converts its own header to and from this one
// record, so that what a sampler can hold is decided by comparing two of them.
#include <cstdint>
#include <string>
#include <string_view>

namespace quorvel {

enum class SampleLoopType : uint32_t {
    None = 0,
    // Off, with a marker: start and end both sit at the end point.
    OffWithMarker = 1,
    Forward = 2,
    Alternating = 3,
};

struct SSampleLoop {
    uint32_t type = 0; // a SampleLoopType value, kept raw as brands deliver it
    uint32_t start = 0;
    uint32_t end = 0;
};

struct SampleInfo {
    static constexpr size_t kNameCapacity = 256; // 255 characters and the NUL
    static constexpr uint8_t kDefaultRootKey = 60;

    char name[kNameCapacity] = {};
    uint8_t channelCount = 0;
    uint8_t bits = 0;
    uint32_t rate = 0;
    uint32_t length = 0;
    uint32_t playStart = 0;
    uint32_t playEnd = 0;
    SSampleLoop sustainLoop;
    SSampleLoop releaseLoop;
    uint8_t rootKey = 0;
    uint8_t keyByte2 = 0;
    uint8_t keyByte3 = 0;
    int16_t fineTuning = 0;

    // Cut to 255 bytes.
    void SetName(std::string_view text);
    std::string_view Name() const;
};

// Field by field in a fixed order: name (bytewise), channel count, bits,
// rate, length, play start, play end, sustain loop, release loop, root key,
// fine tuning, key bytes 2 and 3. Two loops of type 0 are equal whatever
// their points. Negative, zero or positive.
int CompareSampleInfo(const SampleInfo& a, const SampleInfo& b);
inline bool operator==(const SampleInfo& a, const SampleInfo& b) { return CompareSampleInfo(a, b) == 0; }

} // namespace quorvel
