#pragma once
// The Sample Header with the fields a plain one cannot carry: play start and
// end and the release loop. They travel in a block after the name that the
// length field counts (layout in docs/SMDI-EXTENDED.md), so a plain SMDI
// sampler that keeps a header's trailing bytes gives them back, and one that
// drops them leaves a plain header.
#include <array>
#include <cstddef>
#include <cstdint>

#include "samplers/smdi/SMDISampleHeader.h"

namespace quorvel {

class CSMDIExtendedSampleHeader : public CSMDISampleHeader {
public:
    static constexpr std::array<uint8_t, 4> kTag = {'X', 'H', 'D', '1'};
    static constexpr size_t kExtensionSize = 21;

    CSMDIExtendedSampleHeader() = default;
    CSMDIExtendedSampleHeader(const SampleInfo& info, uint32_t sampleNumber);
    // Reads the block from the plain header's trailing bytes when they start
    // with it; otherwise the header stays plain.
    explicit CSMDIExtendedSampleHeader(const CSMDISampleHeader& plain);

    size_t BuildMessage(uint8_t* buffer) const override;
    // The plain fields, then, with the block, play start and end and the
    // release loop.
    void ToSampleInfo(SampleInfo& info) const override;
    size_t MaxMessageSize() const override { return kMaxMessage + kExtensionSize; }

    bool hasExtension = false;
    uint32_t playStart = 0;
    uint32_t playEnd = 0;
    uint8_t releaseControl = kLoopOff;
    uint32_t releaseStart = 0;
    uint32_t releaseEnd = 0;
};

} // namespace quorvel
