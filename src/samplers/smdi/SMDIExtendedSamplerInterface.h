#pragma once
// An SMDI sampler whose headers also carry play start and end and a release
// loop (the extended Sample Header). Brands derive from it and override what
// their samplers hold (AdaptSampleInfo), report (GetCapabilities) or do on
// deletion (DeleteSample).
#include "samplers/smdi/SMDISamplerInterface.h"

namespace quorvel {

class CSMDIExtendedSamplerInterface : public CSMDISamplerInterface {
public:
    explicit CSMDIExtendedSamplerInterface(const SCSIDevice& device);

    void GetSampleInfo(SampleInfo& info, int32_t sampleNumber) override;
    std::unique_ptr<CABCSampleReceiver> CreateReceiver(int32_t sampleNumber) override;
    std::unique_ptr<CABCSampleTransmitter> CreateTransmitter(int32_t sampleNumber) override;
    // What an extended Sample Header carries.
    void AdaptSampleInfo(SampleInfo& info) override;
};

} // namespace quorvel
