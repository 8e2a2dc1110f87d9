#pragma once
// An E-mu sampler over SCSI: the extended SMDI transfers, with the rates,
// the minimum length and the sample numbers these samplers accept.
#include <cstdint>

#include "samplers/smdi/SMDIExtendedSamplerInterface.h"

namespace quorvel {

class CEMUSCSIInterface : public CSMDIExtendedSamplerInterface {
public:
    static constexpr uint32_t kMinimumFrames = 10;
    static constexpr int32_t kLowestSampleNumber = 1;
    static constexpr int32_t kHighestSampleNumber = 999;
    static constexpr const char* kProtocolName = "E-mu SCSI";

    explicit CEMUSCSIInterface(const SCSIDevice& device);

    void DeleteSample(int32_t sampleNumber) override;
    // A rate the sampler plays (the next one up, else the highest), play
    // start 0, at least 10 frames; then what the extended header can carry.
    void AdaptSampleInfo(SampleInfo& info) override;
    void GetCapabilities(SamplerCapabilities& capabilities) override;
};

// The rate the sampler plays a sample of `rate` Hz at: the same one, else
// the lowest above it, else the highest.
uint32_t EMUSampleRate(uint32_t rate);

} // namespace quorvel
