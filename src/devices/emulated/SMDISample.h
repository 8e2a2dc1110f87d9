#pragma once
// A sample as the emulated SMDI sampler keeps it: every field of the Sample
// Header it came with, any further header bytes verbatim, and the data as
// the data packets carried it (big-endian words of (bits + 7) / 8 bytes,
// channels interleaved).
#include <cstdint>
#include <string>

#include "devices/emulated/SMDIMessage.h"

namespace quorvel {

struct SSMDISample {
    uint32_t number = 0;      // 24 bits
    uint8_t bits = 16;
    uint8_t channels = 1;
    uint32_t periodNs = 0;    // 24 bits
    uint32_t length = 0;      // frames (words per channel)
    uint32_t loopStart = 0;
    uint32_t loopEnd = 0;
    uint8_t loopControl = 0x7F;
    uint16_t pitch = 60;
    uint16_t pitchFraction = 0;
    std::string name;         // at most 255 bytes
    // Header bytes after the name that the length field counts.
    SMDIBytes extra;
    SMDIBytes data;

    bool operator==(const SSMDISample&) const = default;
};

inline uint32_t SMDIWordBytes(uint32_t bits) { return (bits + 7) / 8; }
inline uint32_t SMDIFrameBytes(const SSMDISample& sample)
{
    return SMDIWordBytes(sample.bits) * sample.channels;
}
// The data bytes the header announces.
inline uint64_t SMDIDataBytes(const SSMDISample& sample)
{
    return static_cast<uint64_t>(sample.length) * SMDIFrameBytes(sample);
}

// Header fields before the name, counting from the end of the 11-byte
// message header; the name length byte is the last of them.
constexpr size_t kSMDISampleHeaderFixed = 26;

// The Sample Header message for `sample` (its data left out).
SMDIBytes SampleHeaderMessage(const SSMDISample& sample);
// Reads a Sample Header's data (what follows the 11-byte header) into
// `sample`, leaving its data empty. False when it is too short for its own
// name.
bool ParseSampleHeaderData(SMDIView data, SSMDISample& sample);

} // namespace quorvel
