#pragma once
// The SMDI Sample Header and its conversions to and from SampleInfo.
// Data after the message header: sample number (3), bits (1), channels (1),
// period in ns (3), length in words (4), sustain loop start (4) and end (4),
// loop control (1), pitch (2), pitch fraction (2), name length n (1), name
// (n). A sampler may append bytes that the length field counts; they are
// kept verbatim for the extended header.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "samplers/SampleInfo.h"

namespace quorvel {

namespace smdi {
class CSMDIMessage;
}

class CSMDISampleHeader {
public:
    static constexpr size_t kFixedDataSize = 26; // the data before the name
    static constexpr size_t kMaxNameLength = 255;
    static constexpr size_t kMaxMessage = 11 + kFixedDataSize + kMaxNameLength; // 292
    static constexpr uint8_t kLoopForward = 0x00;
    static constexpr uint8_t kLoopAlternating = 0x01;
    static constexpr uint8_t kLoopOff = 0x7F;
    static constexpr uint32_t kMaxPeriod = 0xFFFFFF;

    CSMDISampleHeader() = default;
    // The header that announces `info` as sample `sampleNumber`.
    CSMDISampleHeader(const SampleInfo& info, uint32_t sampleNumber);
    // From a received Sample Header: XSMDIUnexpectedMessage for another
    // message or a length field shorter than the name needs,
    // XSMDIMessageInvalid when the name runs past the bytes that arrived.
    explicit CSMDISampleHeader(const smdi::CSMDIMessage& message);
    virtual ~CSMDISampleHeader() = default;
    CSMDISampleHeader(const CSMDISampleHeader&) = default;
    CSMDISampleHeader& operator=(const CSMDISampleHeader&) = default;

    // Writes the message into `buffer` (MaxMessageSize() bytes); returns its size.
    virtual size_t BuildMessage(uint8_t* buffer) const;
    virtual void ToSampleInfo(SampleInfo& info) const;
    virtual size_t MaxMessageSize() const { return kMaxMessage; }

    std::vector<uint8_t> Message() const;

    std::string name; // at most 255 bytes
    uint32_t sampleNumber = 0;
    uint8_t bits = 16;
    uint8_t channels = 1;
    uint32_t period = 0;
    uint32_t length = 0;
    uint32_t loopStart = 0;
    uint32_t loopEnd = 0;
    uint8_t loopControl = kLoopOff;
    uint16_t pitch = 60;
    uint16_t pitchFraction = 0;
    // What the sampler sent after the name; BuildMessage writes it back.
    std::vector<uint8_t> trailing;
};

} // namespace quorvel
